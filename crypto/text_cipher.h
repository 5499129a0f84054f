#pragma once
// The stored text form of protected values: DES-ECB over zero-padded blocks, upper-case hexadecimal.
#include <string>
#include <string_view>

#include "crypto/des.h"

namespace crypto {

// Adds byte i (1-based) of the key text into key byte i mod 8.
KeyBlock FoldKey(std::string_view keyText);

// Byte texts in, upper-case hexadecimal out; at least one block (16 digits).
std::string EncryptText(std::string_view plain, std::string_view keyText);

// Lenient: any malformed input gives the empty text; the result is cut at the first zero byte.
std::string DecryptText(std::string_view cipherText, std::string_view keyText);

// DecryptText with the key schedule made once, for deciphering many texts under one key.
class TextDecrypter {
 public:
  explicit TextDecrypter(std::string_view keyText);
  std::string operator()(std::string_view cipherText) const;

 private:
  Subkeys subkeys_;
};

}  // namespace crypto
