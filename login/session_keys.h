#pragma once
// The master password as the login gate last read it, for the whole run; the database key
// lives in the vault. Changed only by what happens to the file, through the operations below.
#include <QString>

#include "crypto/key_derivation.h"

namespace vault {
class Vault;
}

namespace login {

class SessionKeys {
 public:
  // The costs of a protected file's key; tests take the cheap set.
  explicit SessionKeys(const crypto::KeyDerivationParameters& keyParameters = crypto::kFileKeyParameters)
      : keyParameters_(keyParameters) {}

  // The cipher text of the master password as last read; a protected file's marker for such a file.
  const QString& storedMasterPassword() const { return storedMasterPassword_; }
  // A protected file is opened by the login's key, not read before it.
  bool fileIsProtected() const { return fileIsProtected_; }
  const crypto::KeyDerivationParameters& keyParameters() const { return keyParameters_; }
  // Whether the login is still 123456; never so for a protected file, which no derivation is spent on.
  bool initialPasswordInForce() const;

  // Before a login: whether the file is protected, told by a held key or the file's bytes.
  void readProtection(const vault::Vault& vault);
  // Then the stored cipher text, or the marker of a protected file; false when none is stored.
  bool readStoredMasterPassword(vault::Vault& vault);
  void fileProtected();
  void fileUnprotected(vault::Vault& vault);
  void masterPasswordChanged(vault::Vault& vault);

 private:
  QString storedMasterPassword_;
  bool fileIsProtected_ = false;
  crypto::KeyDerivationParameters keyParameters_;
};

}  // namespace login
