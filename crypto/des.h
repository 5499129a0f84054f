#pragma once
// Single DES (FIPS 46-3) on one 8-byte block.
#include <array>
#include <cstdint>

namespace crypto {

using Block = std::array<std::uint8_t, 8>;
using KeyBlock = std::array<std::uint8_t, 8>;

// The 16 round keys in the order the rounds use them. Each is packed for the round function,
// one 6-bit group per byte: groups 1, 3, 5, 7 in the high 32 bits, 2, 4, 6, 8 in the low.
struct Subkeys {
  std::array<std::uint64_t, 16> round{};
};

// Key schedule; encrypt=false gives the reversed order, which turns CryptBlock into decryption.
Subkeys MakeSubkeys(const KeyBlock& key, bool encrypt);

// One block; bit 1 is the most significant bit of byte 0.
Block CryptBlock(const Subkeys& subkeys, const Block& block);

}  // namespace crypto
