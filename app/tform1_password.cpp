// Changing the master password on the settings tab.
#include <QLineEdit>

#include "app/tform1.h"
#include "platform/dialogs.h"
#include "widgets/alphanumeric_filter.h"

void TForm1::Button7Click() {
  auto& dialogs = services_.dialogs;
  if (!vault_.isMasterPassword(Edit_OldPass->text(), keys_.storedMasterPassword))
    return dialogs.message("原始密码错误!");
  if (vault_.isMasterPassword(Edit_Pass_A->text(), keys_.storedMasterPassword))
    return dialogs.message("请输入新的密码.");
  if (Edit_Pass_A->text().isEmpty()) return dialogs.message("请填写密码.");
  if (Edit_Pass_B->text().isEmpty()) return dialogs.message("请填写确认密码.");
  if (Edit_Pass_A->text() != Edit_Pass_B->text()) {
    dialogs.message("两次输入的密码不相同.");
    Button_PassClealClick();
    return;
  }
  // Pasted text passes the key filter; a password the login window cannot take would lock
  // the user out of the database.
  if (!AlphanumericKeyFilter::IsAllowedText(Edit_Pass_B->text()))
    return dialogs.message("新密码只能由字母和数字组成,登录窗口不接受其他字符.");
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
