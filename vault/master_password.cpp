#include "vault/master_password.h"

#include <string.h>
#include <QByteArray>

#include <string>
#include <string_view>

#include "crypto/protected_field.h"
#include "vault/master_password_rules.h"

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

QString NewMasterPasswordProblem(const QString& typed, const QString& repeated) {
  if (typed.isEmpty()) return "请填写密码.";
  if (repeated.isEmpty()) return "请填写确认密码.";
  if (typed != repeated) return kPasswordsDiffer;
  // Pasted text passes the key filter; a password the login window cannot take would lock the user out.
  if (!IsTypeableMasterPassword(typed.toStdString())) return "新密码只能由字母和数字组成,登录窗口不接受其他字符.";
  return {};
}

crypto::HeldKey KeyOfTypedMasterPassword(const QString& typed, const crypto::KeySalt& salt,
                                         const crypto::KeyDerivationParameters& parameters) {
  QByteArray utf8 = typed.toUtf8();
  struct Wipe {
    QByteArray& bytes;
    ~Wipe() { ::explicit_bzero(bytes.data(), static_cast<std::size_t>(bytes.size())); }
  } wipe{utf8};  // also when the derivation throws
  return crypto::DeriveFileKey(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), salt,
                               parameters);
}

}  // namespace vault
