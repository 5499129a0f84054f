#include "crypto/text_cipher.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace crypto {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::optional<std::uint8_t> HexValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
  return std::nullopt;
}

// Pieces of two digits from the start; a last single digit is a piece of its own.
std::optional<std::string> HexToBytes(std::string_view hex) {
  if (hex.empty()) return std::nullopt;
  std::string bytes;
  bytes.reserve((hex.size() + 1) / 2);
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const auto high = HexValue(hex[i]);
    if (!high) return std::nullopt;
    if (i + 1 == hex.size()) {
      bytes.push_back(static_cast<char>(*high));
      break;
    }
    const auto low = HexValue(hex[i + 1]);
    if (!low) return std::nullopt;
    bytes.push_back(static_cast<char>((*high << 4) | *low));
  }
  return bytes;
}

// Up to 8 bytes from `at`, zero-filled.
Block BlockAt(std::string_view bytes, std::size_t at) {
  Block block{};
  const std::size_t n = std::min<std::size_t>(8, bytes.size() - at);
  for (std::size_t i = 0; i < n; ++i) block[i] = static_cast<std::uint8_t>(bytes[at + i]);
  return block;
}

}  // namespace

KeyBlock FoldKey(std::string_view keyText) {
  KeyBlock key{};
  for (std::size_t i = 1; i <= keyText.size(); ++i) {
    key[i % 8] = static_cast<std::uint8_t>(key[i % 8] + static_cast<std::uint8_t>(keyText[i - 1]));
  }
  return key;
}

std::string EncryptText(std::string_view plain, std::string_view keyText) {
  const Subkeys subkeys = MakeSubkeys(FoldKey(keyText), true);
  const std::size_t blocks = std::max<std::size_t>(1, (plain.size() + 7) / 8);
  std::string cipher;
  cipher.reserve(blocks * 16);
  for (std::size_t b = 0; b < blocks; ++b) {
    const Block out = CryptBlock(subkeys, BlockAt(plain, b * 8));
    for (std::uint8_t byte : out) {
      cipher.push_back(kHexDigits[byte >> 4]);
      cipher.push_back(kHexDigits[byte & 0xf]);
    }
  }
  return cipher;
}

std::string DecryptText(std::string_view cipherText, std::string_view keyText) {
  return TextDecrypter(keyText)(cipherText);
}

TextDecrypter::TextDecrypter(std::string_view keyText) : subkeys_(MakeSubkeys(FoldKey(keyText), false)) {}

std::string TextDecrypter::operator()(std::string_view cipherText) const {
  const auto bytes = HexToBytes(cipherText);
  if (!bytes) return {};
  std::string plain;
  plain.reserve(bytes->size());
  for (std::size_t at = 0; at < bytes->size(); at += 8) {
    const Block out = CryptBlock(subkeys_, BlockAt(*bytes, at));
    for (std::uint8_t byte : out) {
      if (byte == 0) return plain;  // the text ends at its first zero byte
      plain.push_back(static_cast<char>(byte));
    }
  }
  return plain;
}

}  // namespace crypto
