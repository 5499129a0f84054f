#pragma once
// Letter case and word bytes of the ASCII letters only. The C library's versions follow the
// locale: under tr_TR, tolower('I') stays 'I', and key words such as "Info" no longer match.

namespace store {

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr bool IsAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace store
