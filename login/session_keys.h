#pragma once
// The master password as the login gate last read it, for the whole run; the database key
// lives in the vault.
#include <QString>

struct SessionKeys {
  // The cipher text of the master password as last read by the login gate.
  QString storedMasterPassword;
};
