#pragma once
// The main window: the pages of its four tabs, the handlers behind them, the database objects, timers and tray.
#include <QDate>
#include <QWidget>
#include <memory>

#include "login/login_host.h"
#include "login/session_keys.h"
#include "platform/dialogs.h"
#include "platform/services.h"
#include "settings/settings_file.h"
#include "vault/vault.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class QTimer;
namespace login {
class TForm2;
}  // namespace login
namespace widgets {
class PanelStatusBar;
}

namespace app {

class AboutPage;
class AccountsPage;
class AdvancedPage;
class BackgroundWork;
class SettingsPage;
class TrayIcon;

class TForm1 : public QWidget, public login::LoginHost {
  Q_OBJECT
 public:
  // programFolder ends in '/'; it holds _.udb, Config.ini and the backups.
  TForm1(platform::Services& services, login::SessionKeys& keys, QString programFolder);
  ~TForm1() override;

  // The login window, created after the main window as the program starts; it takes the hot keys
  // read from Config.ini.
  void setLoginWindow(login::TForm2* login);

  // Runs the creation steps; false when the program is to end (the deferred end is started).
  bool FormCreate();

  // LoginHost
  void openAfterLogin() override;
  void showOnTaskbar() override;
  void loginCompleted() override;
  void closeMainWindow() override;
  QString autoFillAccount() const override;
  QString autoFillPassword() const override;
  bool pasteStyleSelected() const override;
  void copyAccountToClipboard() override;
  void copyPasswordToClipboard() override;
  void showStatus(const QString& text) override;

  // True once the window has closed, which ends the program.
  bool hasClosed() const { return closing_; }
  // The database and its operations; the grid shows its listing.
  vault::Vault& vault() override { return vault_; }
  // A second start of the program asks for this one: as the tray's 显示窗口, the login window while
  // locked and nothing while the file is rewritten.
  void showOnRequest();

 public slots:
  // Start-up, lifecycle, tray, settings.
  void Timer1Timer();
  void Timer_CheckLoginTimer();
  void Timer_CloseMeTimer();
  void Button_CheckEnCryptClick();
  void Button_CheckLoginClick();
  void TrayIcon1Click();
  void ShowMEClick();
  void HideMEClick();
  void CloseMeClick();
  void Button_HIdeClick();
  void Button6Click();
  void Button11Click();
  void Button_SaveAdvancedClick();
  // Leaving 高级设置 with changes there asks once whether to save them.
  void PageControl1Change();
  // Automatic locking: each lock is the tray's hide, followed by what a lock clears.
  void IdleLimitReached();
  void ScreenLockedOrAsleep();
  // While the file is rewritten in the background the windows take no input and a lock waits.
  void FileWorkStarted(const QString& status);
  void FileWorkEnded();
  void HideMEAfterLock();
  // Grid, selection, navigation.
  void Button_RefreshClick();
  void DBGrid1CellClick();
  void Button_FirstClick();
  void Button_PriorClick();
  void Button_NextClick();
  void Button_LastClick();
  void Button_Pass_ShowOrHideClick();
  void Button_ClearAllEditClick();
  void GridWheel(int wheelDelta);
  // Record add, modify, delete.
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button_HistoryClick();
  void Button_DeletedClick();
  // Categories.
  void Button_GeiClassClick();
  void ListBox_ClassClick();
  void PopupMenu2Popup();
  void N5Click();
  void N4Click();
  void N3Click();
  // Search.
  void Button_SearchClick();
  void searchkeywordClick();
  // Clipboard.
  void ButtonCopyZhangHaoClick();
  void ButtonCopyEdit_MiMaClick();
  void Button4Click();
  // Password generator.
  void Button_GenerateClick();
  void Timer_ClearClipbrdTimer();
  // Master password change.
  void Button7Click();
  void Button_PassClealClick();
  void Button5Click();
  // Import and export.
  void Button_ImportClick();
  void Button_ExportClick();
  // Shell.
  void Button10Click();
  void AboutmeClick();
  void Button8Click();
  void Label23Click();
  void Label24Click();
  void Label26Click();
  void Label27Click();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // The controls; tests and the accessibility tools find them by their object names.
  vault::Listing* DataSource1;  // the grid's model, the vault's listing

  // Layout.
  QLabel* Image2;
  QTabWidget* PageControl1;
  AccountsPage* accountsPage_;
  SettingsPage* settingsPage_;
  AdvancedPage* advancedPage_;  // 高级设置: the program's own settings beyond the three original tabs
  AboutPage* aboutPage_;
  QLabel* Label22;
  QPushButton* Button8;
  QPushButton* Button_HIde;
  widgets::PanelStatusBar* StatusBar1;
  QPushButton* Button_CheckEnCrypt;
  QPushButton* Button_CheckLogin;

  // Tray.
  TrayIcon* TrayIcon1;
  QMenu* PopupMenu1;
  QAction* Aboutme;
  QAction* ShowME;
  QAction* HideME;
  QAction* CloseMe;

  // Timers.
  QTimer* Timer1;
  QTimer* Timer_CheckLogin;
  QTimer* Timer_CloseMe;
  QTimer* Timer_ClearClipbrd;

  void buildWindow();
  void buildTray();
  void buildTimers();
  void connectHandlers();
  // Connects a signal to a handler through the error guard.
  template <typename Sender, typename Signal, typename Handler>
  void onSignal(Sender* sender, Signal signal, Handler handler);

  void FormClose();
  // The settings of Config.ini beyond the auto-fill mode: shown at start, written by "保存高级设置"
  // and "保存配置"; false, with a message and nothing written, when the chosen hot keys cannot be used.
  void loadAdvancedSettings();
  bool saveAdvancedSettings();
  void showAdvancedSettings(const settings::Settings& shown);
  settings::Settings advancedSettingsInForm() const;
  // A lock gives up what was changed on 高级设置 and not saved, and says so.
  void discardAdvancedChanges();
  void applyLocking(const settings::LockingSettings& locking);
  void showCurrentRecordNumber();
  // The idle lock and the screen lock: the user has left.
  void lockBecauseTheUserLeft();
  // The form, our clipboard copy and the hot keys let go of the picked record.
  void forgetPickedRecord();
  QString clockText() const;
  void takeDailyBackupIfDue();
  // The offer "设置管理密码": the user's own master password in place of the initial one, and the file
  // protected with it.
  void offerOwnMasterPassword();
  void setOwnMasterPassword(const platform::NewMasterPassword& chosen);
  void openAddress(const QString& address);
  void copyToClipboard(const QString& text);
  // The status text painted before the window's thread goes on with a slow step.
  void noteNow(const QString& text);

  platform::Services& services_;
  login::SessionKeys& keys_;
  bool ownPasswordOffered_ = false;  // once per start of the program, not at unlocks
  QString programFolder_;
  BackgroundWork* fileWork_;
  bool lockWaitsForFileWork_ = false;
  vault::Vault vault_;
  login::TForm2* login_ = nullptr;
  bool startupCheckRunning_ = false;
  bool closing_ = false;
  bool lockOnScreenLock_ = true;
  bool clearOnLock_ = false;
  settings::Settings advancedInForce_;  // as saved; what 高级设置 shows beyond it is unsaved
  QWidget* shownTab_ = nullptr;
  QDate dailyBackupDay_;  // of the last daily backup this run took or tried
  bool importRunning_ = false;
  bool closeAfterImport_ = false;  // the program's end was asked for while an import ran
};

}  // namespace app
