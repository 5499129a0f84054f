#pragma once
// What a desktop hands back when the user allows the program to type (a portal's restore token),
// kept in the file so that the next unlock need not ask again. A protected file protects it like
// the records; a file that is not protected does not.
#include <sqlcipher/sqlite3.h>

#include <string>
#include <string_view>

namespace store {

// The token kept for this desktop interface; empty when none.
std::string DesktopConsent(sqlite3* db, std::string_view interface);

// Keeps `token` for the interface (an empty one removes it) in a transaction of its own; writes
// nothing when the file already holds that value.
void KeepDesktopConsent(sqlite3* db, std::string_view interface, std::string_view token);

}  // namespace store
