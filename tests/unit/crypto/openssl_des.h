#pragma once
// OpenSSL's single DES in ECB mode, the independent reference the cipher is checked against.
#include <string>
#include <string_view>

#include "crypto/des.h"

namespace reference {

// Raw DES-ECB of a byte string whose length is a multiple of 8, no padding.
std::string DesEcbEncrypt(const crypto::KeyBlock& key, std::string_view bytes);
std::string DesEcbDecrypt(const crypto::KeyBlock& key, std::string_view bytes);

crypto::Block EncryptBlock(const crypto::KeyBlock& key, const crypto::Block& block);

// Upper-case hexadecimal of bytes, and bytes of hexadecimal digits.
std::string Hex(std::string_view bytes);
std::string Unhex(std::string_view hex);

}  // namespace reference
