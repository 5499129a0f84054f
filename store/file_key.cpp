#include "store/file_key.h"

#include <string.h>  // explicit_bzero

namespace store {

namespace {

char* WriteHex(std::span<const unsigned char> bytes, char* out) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  for (const unsigned char byte : bytes) {
    *out++ = kDigits[byte >> 4];
    *out++ = kDigits[byte & 0x0F];
  }
  return out;
}

}  // namespace

RawKeyText::RawKeyText(const FileKey& key) {
  char* out = text_.data();
  *out++ = 'x';
  *out++ = '\'';
  out = WriteHex(key.key, out);
  out = WriteHex(key.salt, out);
  *out = '\'';
}

RawKeyText::~RawKeyText() { ::explicit_bzero(text_.data(), text_.size()); }

}  // namespace store
