#include "crypto/key_derivation.h"

#include <argon2.h>

#include <cstdio>
#include <new>
#include <stdexcept>
#include <string>

#include "crypto/system_random.h"

namespace crypto {

KeySalt NewKeySalt(const KeyDerivationParameters& parameters) {
  KeySalt salt{};
  salt[0] = static_cast<unsigned char>(parameters.number >> 8);
  salt[1] = static_cast<unsigned char>(parameters.number & 0xFF);
  FillRandom(salt.data() + 2, salt.size() - 2);
  return salt;
}

std::uint16_t SaltParameterNumber(const KeySalt& salt) { return static_cast<std::uint16_t>((salt[0] << 8) | salt[1]); }

KeyMemoryError::KeyMemoryError(std::uint32_t memoryKiB) {
  std::snprintf(message_.data(), message_.size(), "打开受保护的数据库文件需要约 %u MB 可用内存.",
                static_cast<unsigned>(memoryKiB / 1024));
}

HeldKey DeriveFileKey(std::string_view password, const KeySalt& salt, const KeyDerivationParameters& parameters) {
  HeldKey key;
  const std::span<unsigned char, kHeldKeyBytes> out = key.writableBytes();
  const int result = ::argon2id_hash_raw(parameters.passes, parameters.memoryKiB, parameters.lanes, password.data(),
                                         password.size(), salt.data(), salt.size(), out.data(), out.size());
  if (result == ARGON2_MEMORY_ALLOCATION_ERROR) throw KeyMemoryError(parameters.memoryKiB);
  if (result != ARGON2_OK) throw std::runtime_error(std::string("Argon2id: ") + ::argon2_error_message(result));
  return key;
}

}  // namespace crypto
