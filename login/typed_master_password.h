#pragma once
// What a typed master password is compared by: its stored cipher text.
#include <QString>

// The cipher text of a typed master password. The UTF-8 copy made on the way is wiped before it
// is freed; the edit's own buffer and the QString are Qt's.
QString CipherOfTypedMasterPassword(const QString& typed);
