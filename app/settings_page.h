#pragma once
// The tab "软件设置": the master password's change, the compaction, the auto-fill mode with the
// hot keys' hint, and the safety notes.
#include <QString>
#include <QWidget>

#include "settings/settings_file.h"

namespace platform {
class Beeper;
}
class QLabel;
class QLineEdit;
class QRadioButton;

namespace app {

class SettingsPage : public QWidget {
  Q_OBJECT
 public:
  // The new password boxes take only what the login window can take, beeping at the rest.
  SettingsPage(platform::Beeper& beeper, QWidget* parent);

  // 设置密码: the old password and the new one typed twice.
  QString oldPassword() const;
  QString newPassword() const;
  QString repeatedPassword() const;
  void clearNewPasswords();
  // All three boxes masked.
  void maskPasswords();

  settings::AutoFillMode autoFillMode() const;
  void showAutoFillMode(settings::AutoFillMode mode);
  void showHotKeyHint(const QString& hint);
  void showClipboardNote(const QString& note);

 signals:
  void changePasswordClicked();
  void clearClicked();
  void maskClicked();
  void compactClicked();
  void saveClicked();

 private:
  QLineEdit* Edit_OldPass;
  QLineEdit* Edit_Pass_A;
  QLineEdit* Edit_Pass_B;
  QRadioButton* RadioButton_IntoPass1;
  QRadioButton* RadioButton_IntoPass2;
  QLabel* Label16;
  QLabel* Label20;
};

}  // namespace app
