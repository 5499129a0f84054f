#include "login/session_keys.h"

#include "store/file_key.h"
#include "vault/master_password.h"
#include "vault/master_password_rules.h"
#include "vault/vault.h"

namespace login {

bool SessionKeys::initialPasswordInForce() const {
  return !fileIsProtected_ &&
         vault::IsMasterPassword(QString::fromUtf8(vault::kInitialMasterPassword), storedMasterPassword_);
}

void SessionKeys::readProtection(const vault::Vault& vault) {
  fileIsProtected_ = vault.isProtected() || vault.fileIsProtected();
}

bool SessionKeys::readStoredMasterPassword(vault::Vault& vault) {
  storedMasterPassword_ =
      fileIsProtected_ ? QString::fromUtf8(store::kProtectedPassMarker) : vault.storedMasterPassword();
  return !storedMasterPassword_.isEmpty();
}

void SessionKeys::fileProtected() {
  fileIsProtected_ = true;
  storedMasterPassword_ = QString::fromUtf8(store::kProtectedPassMarker);
}

void SessionKeys::fileUnprotected(vault::Vault& vault) {
  fileIsProtected_ = false;
  storedMasterPassword_ = vault.storedMasterPassword();
}

void SessionKeys::masterPasswordChanged(vault::Vault& vault) { storedMasterPassword_ = vault.storedMasterPassword(); }

}  // namespace login
