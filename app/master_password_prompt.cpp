#include "app/master_password_prompt.h"

#include "platform/dialogs.h"
#include "vault/vault.h"

QString AskMasterPasswordAgain(platform::Dialogs& dialogs, const vault::Vault& vault, const SessionKeys& keys,
                               const QString& caption) {
  QString typed = dialogs.passwordInput(caption, "请输入管理密码");
  if (typed.isEmpty()) return QString();
  if (!vault.isMasterPassword(typed, keys.storedMasterPassword)) {
    dialogs.message("管理密码错误.");
    return QString();
  }
  return typed;
}
