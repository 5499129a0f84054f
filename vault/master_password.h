#pragma once
// The master password is never deciphered: a typed one is compared by its stored cipher text.
#include <QString>

#include "crypto/key_derivation.h"

namespace vault {

// The cipher text of a typed master password. The UTF-8 copy made on the way is wiped before it
// is freed; the edit's own buffer and the QString are Qt's.
QString CipherOfTypedMasterPassword(const QString& typed);

// Whether the typed text is the master password whose cipher text is stored.
bool IsMasterPassword(const QString& typed, const QString& storedCipher);

inline const QString kPasswordsDiffer = QStringLiteral("两次输入的密码不相同.");

// Why a new master password typed twice cannot be taken, in the words the windows show; empty when it can.
QString NewMasterPasswordProblem(const QString& typed, const QString& repeated);

// A protected file's key from a typed master password; the UTF-8 copy is wiped the same way.
crypto::HeldKey KeyOfTypedMasterPassword(const QString& typed, const crypto::KeySalt& salt,
                                         const crypto::KeyDerivationParameters& parameters);

}  // namespace vault
