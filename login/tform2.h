#pragma once
// The login window: asks for the master password, counts failures, and owns the auto-fill
// hot keys for the rest of the run: grabbed while a pick has armed them.
#include <QStringList>
#include <QWidget>
#include <functional>

#include "input/fill_outcome.h"
#include "login/login_host.h"
#include "login/session_keys.h"
#include "platform/services.h"
#include "settings/settings_file.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
namespace input {
class FillEngine;
class HotKeyArming;
class ShortcutFill;
}  // namespace input
namespace widgets {
class PanelStatusBar;
class PasswordKeyFilter;
}  // namespace widgets

namespace login {

class ProtectedLogin;

class TForm2 : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kAccountHotKeyId = 8;
  static constexpr int kPasswordHotKeyId = 9;
  static constexpr int kFailureLimit = 3;

  TForm2(platform::Services& services, SessionKeys& keys, LoginHost& host);
  ~TForm2() override;

  // Brings the window to the front with the focus in the password box.
  void present();

  // A pick registers the chosen combinations (Ctrl+Left and Ctrl+Right unless others were chosen)
  // for the armed time; when it runs out they are released and the status bar says so.
  void armHotKeys();
  void releaseHotKeys();
  bool hotKeysArmed() const;
  // 0: armed from the first pick until a lock releases them.
  void setHotKeyArmedMinutes(int minutes);
  // Puts the chosen combinations in force; while the hot keys are on they are registered at once,
  // and one that another program holds is reported and leaves the old one in force. Returns the
  // combinations in force afterwards.
  settings::HotKeySettings changeHotKeys(const settings::HotKeySettings& chosen);
  const settings::HotKeySettings& hotKeys() const { return hotKeys_; }
  // While the user records a new combination, the keys pressed must reach the field.
  void suspendHotKeys(bool suspended);

  enum class FillRequest { kStarted, kLocked, kDisarmed };
  // A fill asked by another process (keyhaven --fill) does what the hot key does, only while the
  // program is unlocked and the hot keys are armed; it never arms them. A started fill tells ended
  // how it went.
  FillRequest fillOnRequest(bool account, std::function<void(input::FillOutcome)> ended);

  // The mark of an unlocked program: set by a login, gone while the program is hidden or locked;
  // the desktop's consent to synthetic keys and its global shortcuts go with it.
  bool unlocked() const;
  void forgetUnlock();
  // The mark follows the master password stored after a login or a change of it; the desktop's
  // global shortcuts are bound while it is set.
  void markUnlocked();

 public slots:
  void Button_LoginingClick();
  void Button2Click();
  void WMHotKey(int id);

 private slots:
  void Edit_LoginPassChange();
  void Edit_ErrorChange();

 private:
  // The fill of the hot key with this id; ended (if any) hears how it went.
  void fill(int id, std::function<void(input::FillOutcome)> ended);
  void loginSucceeded();
  void registerHotKeys();
  // Registers the chosen combinations while the hot keys are on.
  void putInForce(const settings::HotKeySettings& chosen);
  void bindDesktopShortcuts();
  void unregisterBoth();
  void hotKeysRanOut();
  // Registers the chosen combination for id, or the old one again when it cannot be had.
  QString registerOrKeep(int id, const QString& old, const QString& chosen, QStringList& taken);
  void countFailure();
  // The end of a protected file's derivation: the box and the button take input again.
  void protectedLoginFinished(bool opened, const QString& error);

  QGroupBox* GroupBox1;
  QLabel* Label1;
  QLineEdit* Edit_LoginPass;
  QPushButton* Button_Logining;
  QPushButton* Button2;
  QLineEdit* Edit_Error;
  QLineEdit* Edit_LoginPass_Temp;
  widgets::PanelStatusBar* StatusBar1;

  platform::Services& services_;
  SessionKeys& keys_;
  LoginHost& host_;
  widgets::PasswordKeyFilter* keyFilter_;
  ProtectedLogin* protectedLogin_;
  input::HotKeyArming* arming_;
  input::ShortcutFill* shortcutFill_;
  input::FillEngine* fillEngine_;
  // Shown while the master password of a fixed-key file is still the initial one.
  QLabel* initialPasswordHint_;
  bool loginButtonIsDefault_ = false;
  settings::HotKeySettings hotKeys_;
  bool hotKeysRegistered_ = false;
  bool hotKeysSuspended_ = false;
  bool hotKeyConflictReported_ = false;
};

}  // namespace login
