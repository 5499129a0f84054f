#pragma once
// The group "文件保护" of the advanced tab: says whether the database file is protected with the
// master password, and turns that on or off.
#include <QGroupBox>

#include "app/master_password_prompt.h"
#include "login/session_keys.h"

class QLabel;
class QPushButton;
namespace platform {
class Dialogs;
}
namespace vault {
class Vault;
}

namespace app {

class BackgroundWork;

class ProtectionGroup : public QGroupBox {
  Q_OBJECT
 public:
  ProtectionGroup(QWidget* parent, platform::Dialogs& dialogs, vault::Vault& vault, login::SessionKeys& keys,
                  BackgroundWork& work, StatusNote note);

  // Shows the state the file is in now.
  void refresh();

 signals:
  // The file was closed and rewritten: listings are to be opened again.
  void fileRewritten();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void protectFile();
  void unprotectFile();

  QLabel* Label_FileState;
  QPushButton* Button_Protect;

  platform::Dialogs& dialogs_;
  vault::Vault& vault_;
  login::SessionKeys& keys_;
  BackgroundWork& work_;
  StatusNote note_;
};

}  // namespace app
