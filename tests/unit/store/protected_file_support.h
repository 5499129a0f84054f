#pragma once
// Keys of protected files for the store tests, derived as the program derives them.
#include <string>
#include <string_view>

#include "crypto/key_derivation.h"
#include "store/file_key.h"
#include "store/protected_file.h"

namespace store::testing {

struct DerivedKey {
  crypto::KeySalt salt;
  crypto::HeldKey key;
  FileKey fileKey() const { return {key.bytes(), salt}; }
};

inline DerivedKey DeriveKey(std::string_view password, const crypto::KeySalt& salt,
                            const crypto::KeyDerivationParameters& parameters = crypto::kTestKeyParameters) {
  return {salt, crypto::DeriveFileKey(password, salt, parameters)};
}

inline DerivedKey NewKey(std::string_view password,
                         const crypto::KeyDerivationParameters& parameters = crypto::kTestKeyParameters) {
  return DeriveKey(password, crypto::NewKeySalt(parameters), parameters);
}

// The file's key as a login makes it: from the password and the salt the file itself holds.
inline DerivedKey KeyFromFile(const std::string& path, std::string_view password,
                              const crypto::KeyDerivationParameters& parameters = crypto::kTestKeyParameters) {
  const auto salt = ReadFileSalt(path);
  return DeriveKey(password, salt.value_or(crypto::KeySalt{}), parameters);
}

inline bool OpensFromPassword(const std::string& path, std::string_view password,
                              const crypto::KeyDerivationParameters& parameters = crypto::kTestKeyParameters) {
  return OpensWithKey(path, KeyFromFile(path, password, parameters).fileKey());
}

}  // namespace store::testing
