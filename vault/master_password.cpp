#include "vault/master_password.h"

#include <string.h>
#include <QByteArray>

#include <string>
#include <string_view>

#include "crypto/protected_field.h"

namespace vault {

QString CipherOfTypedMasterPassword(const QString& typed) {
  QByteArray utf8 = typed.toUtf8();
  const std::string cipher =
      crypto::MasterPasswordCipher(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
  ::explicit_bzero(utf8.data(), static_cast<std::size_t>(utf8.size()));
  return QString::fromStdString(cipher);
}

bool IsMasterPassword(const QString& typed, const QString& storedCipher) {
  return CipherOfTypedMasterPassword(typed) == storedCipher;
}

}  // namespace vault
