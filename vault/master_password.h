#pragma once
// The master password is never deciphered: a typed one is compared by its stored cipher text.
#include <QString>

namespace vault {

// The cipher text of a typed master password. The UTF-8 copy made on the way is wiped before it
// is freed; the edit's own buffer and the QString are Qt's.
QString CipherOfTypedMasterPassword(const QString& typed);

// Whether the typed text is the master password whose cipher text is stored.
bool IsMasterPassword(const QString& typed, const QString& storedCipher);

}  // namespace vault
