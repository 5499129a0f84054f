#include "crypto/key_derivation.h"

#include <argon2.h>
#include <sys/random.h>

#include <cerrno>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>

namespace crypto {

KeySalt NewKeySalt(const KeyDerivationParameters& parameters) {
  KeySalt salt{};
  salt[0] = static_cast<unsigned char>(parameters.number >> 8);
  salt[1] = static_cast<unsigned char>(parameters.number & 0xFF);
  std::size_t filled = 2;
  while (filled < salt.size()) {
    const ssize_t got = ::getrandom(salt.data() + filled, salt.size() - filled, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw std::system_error(errno, std::generic_category(), "getrandom");
    }
    filled += static_cast<std::size_t>(got);
  }
  return salt;
}

std::uint16_t SaltParameterNumber(const KeySalt& salt) { return static_cast<std::uint16_t>((salt[0] << 8) | salt[1]); }

HeldKey DeriveFileKey(std::string_view password, const KeySalt& salt, const KeyDerivationParameters& parameters) {
  HeldKey key;
  const std::span<unsigned char, kHeldKeyBytes> out = key.writableBytes();
  const int result = ::argon2id_hash_raw(parameters.passes, parameters.memoryKiB, parameters.lanes, password.data(),
                                         password.size(), salt.data(), salt.size(), out.data(), out.size());
  if (result == ARGON2_MEMORY_ALLOCATION_ERROR) throw std::bad_alloc();
  if (result != ARGON2_OK) throw std::runtime_error(std::string("Argon2id: ") + ::argon2_error_message(result));
  return key;
}

}  // namespace crypto
