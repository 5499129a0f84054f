#include "vault/master_password_rules.h"

#include <algorithm>

namespace vault {

bool IsMasterPasswordCharacter(char32_t c) {
  return (c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
}

bool IsTypeableMasterPassword(std::string_view password) {
  // Bytes of a multi-byte character are all above 0x7F, so none of them passes.
  return !password.empty() && std::all_of(password.begin(), password.end(), [](char c) {
    return IsMasterPasswordCharacter(static_cast<unsigned char>(c));
  });
}

bool IsWeakMasterPassword(std::string_view password) {
  return password == kInitialMasterPassword || password.size() < kShortestStrongMasterPassword;
}

}  // namespace vault
