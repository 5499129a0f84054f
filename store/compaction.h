#pragma once
// Compaction of the database file into a fresh, complete copy that replaces it atomically.
#include <string>
#include <string_view>

#include "store/file_key.h"

namespace store {

// The compaction's copy in the temporary folder: this prefix and six letters or digits.
inline constexpr std::string_view kCompactionTemporaryPrefix = "~ACP";

// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<path>;Jet OLEDB:Database Password=<password>;"
std::string CompactionConnectionString(std::string_view path, std::string_view password);

// The temporary folder, ending in '/'.
std::string GetTempDirectory();

// Writes a complete compacted copy of the source under the destination; both are connection
// strings "Provider=...;Data Source=%s;Jet OLEDB:Database Password=%s;". Throws StoreError.
void CompactDatabase(std::string_view sourceConnection, std::string_view destinationConnection);

// Compacts the file under its password and replaces it; false on any failure, in which case
// the file is left byte-identical. Holds the folder's replacement lock exclusively meanwhile;
// throws FileBusyError, the file untouched, when another program keeps it.
bool CompactDatabaseFile(std::string_view path, std::string_view password);

// The same for a protected file: the copy is keyed with the same key and salt.
bool CompactDatabaseFile(std::string_view path, const FileKey& key);

}  // namespace store
