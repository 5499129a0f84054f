#pragma once
// What a master password may be, for the window, keyhaven-cli and keyhaven-newdb alike.
#include <string_view>

namespace crypto {

// The password of a new database file until its user changes it.
inline constexpr std::string_view kInitialMasterPassword = "123456";
inline constexpr std::size_t kShortestStrongMasterPassword = 8;

// Letters and digits only, and not empty: the login window takes nothing else, so any other
// password could never be typed in.
bool IsTypeableMasterPassword(std::string_view password);

// The initial password, or shorter than 8 characters: a copy of a protected file taken by
// someone else is opened quickly by trying such passwords.
bool IsWeakMasterPassword(std::string_view password);

}  // namespace crypto
