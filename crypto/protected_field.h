#pragma once
// Protecting and revealing stored values: UTF-8 text <-> code page 936 <-> cipher text.
#include <string>
#include <string_view>

#include "crypto/text_cipher.h"

namespace crypto {

// The fixed key text of the master password.
inline constexpr std::string_view kMasterPasswordKey = "zyq";

// Cipher text of a UTF-8 value under a UTF-8 key text (both converted to code page 936 first).
std::string ProtectField(std::string_view plainUtf8, std::string_view keyUtf8);

// UTF-8 plain text of a stored cipher text; empty for anything that does not decipher.
std::string RevealField(std::string_view cipherText, std::string_view keyUtf8);

// RevealField with the key converted and scheduled once, for revealing many values under one key.
class FieldRevealer {
 public:
  explicit FieldRevealer(std::string_view keyUtf8);
  std::string operator()(std::string_view cipherText) const;

 private:
  TextDecrypter decrypt_;
};

// The stored form of a master password: its cipher text under the fixed key.
std::string MasterPasswordCipher(std::string_view typedUtf8);

}  // namespace crypto
