#pragma once
// The checks a typed record passes before it is added or written over another, with the
// messages the user reads; the window and the command line share them.
#include <QString>

#include "vault/vault.h"

namespace vault {

// The message of the first required field that is empty (category, title, account, password);
// empty when all are filled.
QString MissingField(const Record& record);

// Refuses a password or note with a character the code page cannot carry: stored, it would
// come back replaced, and auto-fill would later enter a wrong value. Empty when both fit.
QString UncarriedCharacter(const Record& record);

}  // namespace vault
