#pragma once
// The master password as the login gate last read it, for the whole run; the database key
// lives in the vault.
#include <QString>

#include "crypto/key_derivation.h"

struct SessionKeys {
  // The cipher text of the master password as last read by the login gate.
  QString storedMasterPassword;
  // A protected file is opened by the login's key, not read before it.
  bool fileIsProtected = false;
  // The costs of a protected file's key; tests take the cheap set.
  crypto::KeyDerivationParameters keyParameters = crypto::kFileKeyParameters;
};
