#pragma once
// Conversion between UTF-8 and code page 936, the byte form that the cipher works on.
#include <string>
#include <string_view>

namespace encoding {

// A character outside code page 936 becomes '?'.
std::string Utf8ToCp936(std::string_view utf8);

// The first character of `utf8` that code page 936 cannot carry, as UTF-8; empty when it
// carries the whole text.
std::string FirstCharacterOutsideCp936(std::string_view utf8);

// Bytes that are not valid code page 936 become U+FFFD.
std::string Cp936ToUtf8(std::string_view bytes);

}  // namespace encoding
