#pragma once
// The group "热键" of the advanced tab: the two combinations that fill the account name and the
// password into another program, and how long a pick keeps them armed. On a Wayland session it
// says how the desktop's own shortcuts take their place, and on GNOME writes them.
#include <QGroupBox>
#include <QString>
#include <functional>

#include "settings/settings_file.h"

class QGridLayout;
class QKeySequenceEdit;
class QLabel;
class QPushButton;
class QSpinBox;

namespace app {

class BackgroundWork;

class HotKeyGroup : public QGroupBox {
  Q_OBJECT
 public:
  explicit HotKeyGroup(QWidget* parent);

  // The first chord of each field in Qt's portable text.
  settings::HotKeySettings hotKeys() const;
  void setHotKeys(const settings::HotKeySettings& hotKeys);
  int armedMinutes() const;
  void setArmedMinutes(int minutes);

 signals:
  // True while one of the fields has the focus: the keys pressed there are meant for the field,
  // not for the hot keys.
  void recordingChanged(bool recording);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void addWaylandAdvice(QGridLayout* grid);
  void showEditorKeyWarning();
  void proposeOtherKeys();
  void writeGnomeShortcuts();
  void removeGnomeShortcuts();
  // gsettings may take seconds to answer: it runs beside the windows, the buttons off meanwhile.
  void changeGnomeShortcuts(std::function<bool()> change, std::function<void(bool changed)> said);

  QKeySequenceEdit* KeySequenceEdit_Account;
  QKeySequenceEdit* KeySequenceEdit_Password;
  QSpinBox* SpinBox_ArmedMinutes;
  // Only on a Wayland session.
  QLabel* Label_EditorKeyWarning = nullptr;
  QPushButton* Button_ProposedHotKeys = nullptr;
  QLabel* Label_GnomeShortcuts = nullptr;
  QWidget* gnomeButtons_ = nullptr;
  BackgroundWork* gnomeWork_ = nullptr;

  bool recording_ = false;
};

// Why the chosen pair cannot be used, for the message; empty when it can.
QString HotKeyChoiceProblem(const settings::HotKeySettings& chosen);

// The tip at the bottom of the main window and on the settings page for the combinations in force.
QString HotKeyHint(const settings::HotKeySettings& inForce);

}  // namespace app
