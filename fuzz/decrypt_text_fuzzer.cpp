// Any cipher text and key: DecryptText must return, with no zero byte, and must invert
// EncryptText for every plain text without zero bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "crypto/text_cipher.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The first byte says how long the key is; the rest is the cipher text.
  const std::size_t keyLength = input.empty() ? 0 : static_cast<std::uint8_t>(input[0]) % 24;
  const std::string_view rest = input.empty() ? input : input.substr(1);
  const std::string_view key = rest.substr(0, keyLength);
  const std::string_view text = rest.substr(key.size());

  const std::string plain = crypto::DecryptText(text, key);
  if (plain.find('\0') != std::string::npos) std::abort();

  const std::string_view clean = text.substr(0, text.find('\0'));
  if (crypto::DecryptText(crypto::EncryptText(clean, key), key) != clean) std::abort();
  return 0;
}
