#include "crypto/protected_field.h"

#include "encoding/codepage.h"

namespace crypto {

using encoding::Cp936ToUtf8;
using encoding::Utf8ToCp936;

std::string ProtectField(std::string_view plainUtf8, std::string_view keyUtf8) {
  return EncryptText(Utf8ToCp936(plainUtf8), Utf8ToCp936(keyUtf8));
}

std::string RevealField(std::string_view cipherText, std::string_view keyUtf8) {
  return FieldRevealer(keyUtf8)(cipherText);
}

FieldRevealer::FieldRevealer(std::string_view keyUtf8) : decrypt_(Utf8ToCp936(keyUtf8)) {}

std::string FieldRevealer::operator()(std::string_view cipherText) const { return Cp936ToUtf8(decrypt_(cipherText)); }

std::string MasterPasswordCipher(std::string_view typedUtf8) {
  return EncryptText(Utf8ToCp936(typedUtf8), kMasterPasswordKey);
}

}  // namespace crypto
