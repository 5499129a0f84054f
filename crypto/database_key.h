#pragma once
// The random key drawn once for every database file.
#include <cstdint>
#include <string>

namespace crypto {

// Uniform over 1..99,999,999 from the operating system's cryptographic generator.
// 0 is never drawn: a stored "0" means "no key yet" and would be replaced at the next start.
std::uint32_t DrawDatabaseKey();

// The drawn key as stored: decimal digits without leading zeros.
std::string DrawDatabaseKeyText();

}  // namespace crypto
