// Changing the master password on the settings tab.
#include "app/master_password_prompt.h"
#include "app/settings_page.h"
#include "app/tform1.h"
#include "platform/dialogs.h"
#include "vault/master_password.h"

namespace app {

void TForm1::Button7Click() {
  auto& dialogs = services_.dialogs;
  // A protected file's checks and re-key derive keys on this thread.
  const VerifyingNote verifying([this](const QString& text) { noteNow(text); }, keys_.fileIsProtected());
  if (!vault_.isMasterPassword(settingsPage_->oldPassword(), keys_.storedMasterPassword()))
    return dialogs.message("原始密码错误!");
  if (vault_.isMasterPassword(settingsPage_->newPassword(), keys_.storedMasterPassword()))
    return dialogs.message("请输入新的密码.");
  if (const QString problem =
          vault::NewMasterPasswordProblem(settingsPage_->newPassword(), settingsPage_->repeatedPassword());
      !problem.isEmpty()) {
    dialogs.message(problem);
    if (problem == vault::kPasswordsDiffer) Button_PassClealClick();
    return;
  }
  vault_.changeMasterPassword(settingsPage_->repeatedPassword(), clockText());
  dialogs.message("密码设置成功,请重新登录钥匣.");
  closeMainWindow();
}

void TForm1::Button_PassClealClick() { settingsPage_->clearNewPasswords(); }

void TForm1::Button5Click() { settingsPage_->maskPasswords(); }

}  // namespace app
