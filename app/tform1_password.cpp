// Changing the master password on the settings tab.
#include <QLineEdit>

#include "app/master_password_prompt.h"
#include "app/tform1.h"
#include "platform/dialogs.h"
#include "vault/master_password.h"

void TForm1::Button7Click() {
  auto& dialogs = services_.dialogs;
  // A protected file's checks and re-key derive keys on this thread.
  const VerifyingNote verifying([this](const QString& text) { noteNow(text); }, keys_.fileIsProtected);
  if (!vault_.isMasterPassword(Edit_OldPass->text(), keys_.storedMasterPassword))
    return dialogs.message("原始密码错误!");
  if (vault_.isMasterPassword(Edit_Pass_A->text(), keys_.storedMasterPassword))
    return dialogs.message("请输入新的密码.");
  if (const QString problem = vault::NewMasterPasswordProblem(Edit_Pass_A->text(), Edit_Pass_B->text());
      !problem.isEmpty()) {
    dialogs.message(problem);
    if (problem == vault::kPasswordsDiffer) Button_PassClealClick();
    return;
  }
  vault_.changeMasterPassword(Edit_Pass_B->text(), clockText());
  dialogs.message("密码设置成功,请重新登录钥匣.");
  closeMainWindow();
}

void TForm1::Button_PassClealClick() {
  Edit_Pass_A->clear();
  Edit_Pass_B->clear();
}

void TForm1::Button5Click() {
  for (QLineEdit* edit : {Edit_OldPass, Edit_Pass_A, Edit_Pass_B}) edit->setEchoMode(QLineEdit::Password);
}
