#pragma once
// The key of a protected database file: Argon2id over the master password and the file's salt.
#include <array>
#include <cstdint>
#include <new>
#include <string_view>

#include "crypto/held_key.h"

namespace crypto {

// One numbered set of Argon2id costs. The number travels in the salt, so a file says which
// set made its key and a later version can raise the costs and re-key at the next login.
struct KeyDerivationParameters {
  std::uint16_t number;
  std::uint32_t memoryKiB;
  std::uint32_t passes;
  std::uint32_t lanes;
};

// What the program writes: about half a second on a two-core machine.
inline constexpr KeyDerivationParameters kFileKeyParameters{1, 256 * 1024, 3, 2};
// As cheap as Argon2id allows, for tests; the program never makes a file with it.
inline constexpr KeyDerivationParameters kTestKeyParameters{0xFFFF, 8, 1, 1};

inline constexpr std::size_t kKeySaltBytes = 16;
// Bytes 0-1: the parameter set's number (high byte first); bytes 2-15: random.
using KeySalt = std::array<unsigned char, kKeySaltBytes>;

KeySalt NewKeySalt(const KeyDerivationParameters& parameters);

std::uint16_t SaltParameterNumber(const KeySalt& salt);

// The derivation's memory could not be had; the message tells the user how much it needs.
class KeyMemoryError : public std::bad_alloc {
 public:
  explicit KeyMemoryError(std::uint32_t memoryKiB);
  const char* what() const noexcept override { return message_.data(); }

 private:
  std::array<char, 128> message_{};
};

// Derives straight into a held buffer, so the key has no other copy. The caller wipes its
// copies of the password. Throws KeyMemoryError when the memory is not there, and
// std::runtime_error on any other refusal of the function.
HeldKey DeriveFileKey(std::string_view password, const KeySalt& salt, const KeyDerivationParameters& parameters);

}  // namespace crypto
