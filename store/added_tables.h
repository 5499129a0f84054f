#pragma once
// Tables that later builds add to the file. Each is made by the first write that puts something
// into it, inside that write's transaction, so opening a file, a failed login or a read never
// changes it; PRAGMA user_version tells the newest table a file may hold.
#include <sqlcipher/sqlite3.h>

#include "store/database_file.h"

namespace store {

inline constexpr int kHistoryFileVersion = kSchemaVersion + 1;
inline constexpr int kDesktopConsentFileVersion = kSchemaVersion + 2;

// Asked of the schema the connection holds: a statement would cost each write a parse.
bool HasTable(sqlite3* db, const char* table);

// Runs `schema` unless `table` exists, and raises the file's version to `version`; a file already
// at a later one keeps it.
void AddTableIfMissing(sqlite3* db, const char* table, const char* schema, int version);

}  // namespace store
