#pragma once
// What the login window needs of the main window.
#include <QString>

namespace vault {
class Vault;
}

namespace login {

class LoginHost {
 public:
  virtual ~LoginHost() = default;

  // The database the login opens when its file is protected.
  virtual vault::Vault& vault() = 0;
  // A right password: show the main window and list the categories and records.
  virtual void openAfterLogin() = 0;
  virtual void showOnTaskbar() = 0;
  // What follows a login once the login window is done with it.
  virtual void loginCompleted() = 0;
  // The one way to end the program.
  virtual void closeMainWindow() = 0;

  // The picked record's values, as the form holds them now.
  virtual QString autoFillAccount() const = 0;
  virtual QString autoFillPassword() const = 0;
  virtual bool pasteStyleSelected() const = 0;
  virtual void copyAccountToClipboard() = 0;
  virtual void copyPasswordToClipboard() = 0;
  // A short note in the main window's status bar.
  virtual void showStatus(const QString& text) = 0;
};

}  // namespace login
