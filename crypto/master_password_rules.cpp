#include "crypto/master_password_rules.h"

#include <algorithm>

namespace crypto {

bool IsTypeableMasterPassword(std::string_view password) {
  const auto letterOrDigit = [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  };
  return !password.empty() && std::all_of(password.begin(), password.end(), letterOrDigit);
}

bool IsWeakMasterPassword(std::string_view password) {
  return password == kInitialMasterPassword || password.size() < kShortestStrongMasterPassword;
}

}  // namespace crypto
