#include "store/compaction.h"

#include <fcntl.h>
#include <sqlcipher/sqlite3.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

#include "store/connection.h"
#include "store/engine_handles.h"
#include "store/file_copy.h"
#include "store/file_descriptor.h"
#include "store/replacement_lock.h"
#include "store/store_error.h"
#include "store/temporary_files.h"

namespace store {

namespace {

sqlite3_int64 SingleInteger(sqlite3* db, const char* query) {
  Statement statement = Prepare(db, query);
  if (sqlite3_step(statement.get()) != SQLITE_ROW) throw StoreError(sqlite3_errmsg(db));
  return sqlite3_column_int64(statement.get(), 0);
}

std::string SingleText(sqlite3* db, const char* query) {
  Statement statement = Prepare(db, query);
  if (sqlite3_step(statement.get()) != SQLITE_ROW) throw StoreError(sqlite3_errmsg(db));
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 0));
  return text != nullptr ? text : "";
}

void Attach(sqlite3* db, const std::string& file, std::string_view password) {
  // Bound, not spliced: neither the path nor the password can break the statement.
  Statement statement = Prepare(db, "ATTACH DATABASE ? AS compacted KEY ?");
  sqlite3_bind_text(statement.get(), 1, file.data(), static_cast<int>(file.size()), SQLITE_TRANSIENT);
  // Static: the engine keeps no copy of a key beyond the one it needs.
  sqlite3_bind_text(statement.get(), 2, password.data(), static_cast<int>(password.size()), SQLITE_STATIC);
  if (sqlite3_step(statement.get()) != SQLITE_DONE) throw StoreError(sqlite3_errmsg(db));
}

// Writes the compacted copy of the open source into the existing, empty file `destination`,
// keyed with `key` (a password, or a protected file's raw key with its salt).
void ExportCompacted(sqlite3* db, const std::string& destination, std::string_view key) {
  Attach(db, destination, key);
  try {
    Run(db, "SELECT sqlcipher_export('compacted')");
    // The export leaves the schema version behind; it belongs to the file.
    const std::string version = std::to_string(SingleInteger(db, "PRAGMA main.user_version"));
    Run(db, ("PRAGMA compacted.user_version = " + version).c_str());
    if (SingleText(db, "PRAGMA compacted.quick_check") != "ok") throw StoreError("the compacted copy is damaged");
  } catch (...) {
    sqlite3_exec(db, "DETACH DATABASE compacted", nullptr, nullptr, nullptr);
    throw;
  }
  Run(db, "DETACH DATABASE compacted");
}

// The file behind a link, so that the replacement lands where the data is.
bool ResolvePath(std::string_view path, std::string& resolved) {
  std::vector<char> buffer(PATH_MAX + 1, '\0');
  if (::realpath(std::string(path).c_str(), buffer.data()) == nullptr) return false;
  resolved = buffer.data();
  return true;
}

// Compacts the file behind `source` (not yet open) into a copy keyed with `key` that replaces
// `database`; false on any failure, the file then left as it was.
bool ReplaceWithCompactedCopy(Connection& source, const std::string& database, std::string_view key) {
  // Locked until it is removed again, so another instance's start-up sweep leaves it alone. The
  // copy holds the same secrets as the database; it never stays behind in the shared folder.
  const LockedTemporary copy(GetTempDirectory() + std::string(kCompactionTemporaryPrefix));
  if (!copy.created()) return false;
  try {
    ExportCompacted(source.handle(), copy.path(), key);
    source.close();
    return CopyFileAtomically(copy.path(), database);
  } catch (...) {
    return false;
  }
}

}  // namespace

std::string GetTempDirectory() {
  const char* fromEnvironment = std::getenv("TMPDIR");
  std::string folder = fromEnvironment != nullptr && *fromEnvironment != '\0' ? fromEnvironment : "/tmp";
  if (folder.back() != '/') folder += '/';
  return folder;
}

std::string CompactionConnectionString(std::string_view path, std::string_view password) {
  return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + std::string(path) +
         ";Jet OLEDB:Database Password=" + std::string(password) + ";";
}

void CompactDatabase(std::string_view sourceConnection, std::string_view destinationConnection) {
  const ConnectionString destination = ConnectionString::Parse(destinationConnection);
  if (destination.dataSource.empty()) throw StoreError("the compaction target names no data source");
  Connection source;
  source.setConnectionString(std::string(sourceConnection));
  sqlite3* db = source.handle();
  // Like the original service, refuse to write over an existing file. The engine attaches only
  // files that exist, so the empty target is made here, locked as the temporaries are so that
  // the start-up sweep passes over it.
  const FileDescriptor target(::open(destination.dataSource.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (target.get() < 0 || !LockWhileNamed(target.get(), destination.dataSource))
    throw StoreError("cannot create \"" + destination.dataSource + "\"");
  ExportCompacted(db, destination.dataSource, destination.password);
}

bool CompactDatabaseFile(std::string_view path, std::string_view password) {
  const ReplacementLock lock(FolderOf(std::string(path)), ReplacementLock::Mode::kExclusive);
  std::string database;
  if (!ResolvePath(path, database)) return false;
  Connection source;
  source.setConnectionString(CompactionConnectionString(database, password));
  return ReplaceWithCompactedCopy(source, database, password);
}

bool CompactDatabaseFile(std::string_view path, const FileKey& key) {
  const ReplacementLock lock(FolderOf(std::string(path)), ReplacementLock::Mode::kExclusive);
  std::string database;
  if (!ResolvePath(path, database)) return false;
  Connection source;
  source.setConnectionString(CompactionConnectionString(database, ""));
  source.setFileKey(key);
  // The copy takes the same key and salt, so the next derivation from the password opens it.
  const RawKeyText keyText(key);
  return ReplaceWithCompactedCopy(source, database, keyText.view());
}

}  // namespace store
