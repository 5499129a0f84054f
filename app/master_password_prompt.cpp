#include "app/master_password_prompt.h"

#include "platform/dialogs.h"
#include "vault/vault.h"

namespace app {

VerifyingNote::VerifyingNote(StatusNote note, bool derives) : note_(derives ? std::move(note) : nullptr) {
  if (note_) note_(kVerifyingMasterPassword);
}

VerifyingNote::~VerifyingNote() {
  if (note_) note_(QString());
}

QString AskMasterPasswordAgain(platform::Dialogs& dialogs, const vault::Vault& vault, const login::SessionKeys& keys,
                               const QString& caption, const StatusNote& note) {
  QString typed = dialogs.passwordInput(caption, "请输入管理密码");
  if (typed.isEmpty()) return QString();
  const bool right = [&] {
    const VerifyingNote verifying(note, vault.isProtected());
    return vault.isMasterPassword(typed, keys.storedMasterPassword());
  }();
  if (!right) {
    dialogs.message("管理密码错误.");
    return QString();
  }
  return typed;
}

}  // namespace app
