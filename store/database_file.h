#pragma once
// A new, empty account database file: the tables the program reads and writes, keyed with
// the database password.
#include <string>
#include <string_view>

#include "store/file_key.h"

namespace store {

// The schema version written into new files.
inline constexpr int kSchemaVersion = 1;

// Creates the database under a temporary name in the target's folder and moves it to `path`
// only when it is complete, so a failure leaves nothing half-made. Pass holds the given
// master password cipher text, EnCrypt holds "0" (no database key drawn yet), data is empty.
// An existing file at `path` is replaced only when `replaceExisting` is set. The file is
// readable by the user alone.
// Throws StoreError on any failure.
void CreateDatabaseFile(const std::string& path, std::string_view masterPasswordCipher, bool replaceExisting);

// The same, protected: keyed with `key`, whose salt becomes the file's first 16 bytes; Pass
// holds kProtectedPassMarker.
void CreateDatabaseFile(const std::string& path, const FileKey& key, bool replaceExisting);

}  // namespace store
