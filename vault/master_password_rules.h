#pragma once
// What a master password may be, for the window, keyhaven-cli and keyhaven-newdb alike.
#include <cstddef>
#include <string_view>

namespace vault {

// The password of a new database file until its user changes it.
inline constexpr std::string_view kInitialMasterPassword = "123456";
inline constexpr std::size_t kShortestStrongMasterPassword = 8;

// An ASCII letter or digit: the only characters the login window lets be typed.
bool IsMasterPasswordCharacter(char32_t c);

// Letters and digits only, and not empty: any other password could never be typed in.
bool IsTypeableMasterPassword(std::string_view password);

// The initial password, or shorter than 8 characters: a copy of a protected file taken by
// someone else is opened quickly by trying such passwords.
bool IsWeakMasterPassword(std::string_view password);

}  // namespace vault
