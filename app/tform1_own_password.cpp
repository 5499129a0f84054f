// After the first login of a run with the initial master password: the offer to set one's own and to
// protect the file with it. The settings tab's change ends the program; this one goes on.
#include <QLineEdit>
#include <QPushButton>

#include "app/accounts_page.h"
#include "app/file_protection.h"
#include "app/tform1.h"
#include "login/tform2.h"
#include "vault/master_password.h"

namespace app {

void TForm1::loginCompleted() {
  if (ownPasswordOffered_) return;
  ownPasswordOffered_ = true;
  // A protected file's password is never the initial one.
  if (!keys_.initialPasswordInForce()) return;
  offerOwnMasterPassword();
}

void TForm1::offerOwnMasterPassword() {
  auto& dialogs = services_.dialogs;
  bool protectFile = true;
  while (const std::optional<platform::NewMasterPassword> chosen = dialogs.newMasterPassword(protectFile)) {
    protectFile = chosen->protectFile;
    QString problem = vault::NewMasterPasswordProblem(chosen->typed, chosen->repeated);
    if (problem.isEmpty() && vault::IsMasterPassword(chosen->typed, keys_.storedMasterPassword()))
      problem = "请输入新的密码.";
    if (!problem.isEmpty()) {
      dialogs.message(problem);
      continue;
    }
    if (protectFile && !AcceptsWeakProtection(dialogs, "设置管理密码", chosen->typed)) continue;
    return setOwnMasterPassword(*chosen);
  }
}

void TForm1::setOwnMasterPassword(const platform::NewMasterPassword& chosen) {
  vault_.changeMasterPassword(chosen.typed, clockText());
  keys_.masterPasswordChanged(vault_);
  login_->markUnlocked();  // the lock mark follows the password
  if (!chosen.protectFile) return services_.dialogs.message("管理密码设置成功.");
  // The backups hold the initial password and every account: they are protected too.
  ProtectInBackground(*fileWork_, services_.dialogs, vault_, keys_, chosen.typed, true,
                      [this] { accountsPage_->pressRefresh(); });
}

}  // namespace app
