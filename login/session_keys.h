#pragma once
// The two key texts that live for the whole run.
#include <QString>

struct SessionKeys {
  // The cipher text of the master password as last read by the login gate.
  QString storedMasterPassword;
};
