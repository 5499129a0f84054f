#include "store/protected_file.h"

#include <sqlcipher/sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "store/added_tables.h"
#include "store/connection.h"
#include "store/engine_error.h"
#include "store/engine_handles.h"
#include "store/file_copy.h"
#include "store/record_history.h"
#include "store/replacement_lock.h"
#include "store/store_error.h"
#include "store/temporary_files.h"

namespace store {

namespace {

// A file this short holds no protected database with its tables.
constexpr std::uintmax_t kSmallestProtectedFile = 1024;
constexpr std::string_view kPlainDatabaseHeader{"SQLite format 3\0", 16};
// The engine's smallest page: every whole database file is a multiple of it.
constexpr std::uintmax_t kPageBytes = 512;

// Opens an existing file with a key and reads its schema, which is where the engine checks the
// key. Gives the engine's result; SQLITE_NOTADB also for a file without tables (an empty file
// opens with any key). `db` holds the open file on SQLITE_OK and the failed one otherwise.
int OpenKeyed(const std::string& path, std::string_view key, Database& db) {
  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  db.reset(raw);
  if (rc == SQLITE_OK) rc = sqlite3_busy_timeout(raw, kBusyTimeoutMilliseconds);
  if (rc == SQLITE_OK) rc = sqlite3_key(raw, key.data(), static_cast<int>(key.size()));
  if (rc != SQLITE_OK) return rc;
  sqlite3_stmt* check = nullptr;
  rc = sqlite3_prepare_v2(raw, "select count(*) from sqlite_master", -1, &check, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_step(check);
  const bool hasTables = rc == SQLITE_ROW && sqlite3_column_int(check, 0) > 0;
  sqlite3_finalize(check);
  if (rc == SQLITE_ROW) rc = hasTables ? SQLITE_OK : SQLITE_NOTADB;
  return rc;
}

StoreError CannotOpen(const std::string& path, sqlite3* db) {
  return StoreError(DescribeEngineFailure(path, db, "cannot open database \"" + path + "\": "));
}

Database OpenKeyedOrThrow(const std::string& path, std::string_view key) {
  Database db(nullptr, &sqlite3_close);
  if (OpenKeyed(path, key, db) != SQLITE_OK) throw CannotOpen(path, db.get());
  return db;
}

std::string FirstBytes(const std::string& path, std::size_t count) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes(count, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(count));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

// Whether two statements give the same rows, value by value, types included.
bool SameRows(sqlite3* a, sqlite3* b, const char* query) {
  const Statement left = Prepare(a, query);
  const Statement right = Prepare(b, query);
  for (;;) {
    const int leftStep = sqlite3_step(left.get());
    const int rightStep = sqlite3_step(right.get());
    if (leftStep != rightStep) return false;
    if (leftStep == SQLITE_DONE) return true;
    if (leftStep != SQLITE_ROW) throw StoreError(sqlite3_errmsg(a));
    const int columns = sqlite3_column_count(left.get());
    if (columns != sqlite3_column_count(right.get())) return false;
    for (int column = 0; column < columns; ++column) {
      if (sqlite3_column_type(left.get(), column) != sqlite3_column_type(right.get(), column)) return false;
      const void* leftValue = sqlite3_column_blob(left.get(), column);
      const void* rightValue = sqlite3_column_blob(right.get(), column);
      const int size = sqlite3_column_bytes(left.get(), column);
      if (size != sqlite3_column_bytes(right.get(), column)) return false;
      if (size > 0 && std::memcmp(leftValue, rightValue, static_cast<std::size_t>(size)) != 0) return false;
    }
  }
}

std::string PassValue(sqlite3* db) {
  const Statement statement = Prepare(db, "Select 密码 from Pass");
  if (sqlite3_step(statement.get()) != SQLITE_ROW) return {};
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 0));
  return text != nullptr ? text : "";
}

// Exports the open source into the empty file `copy` under `key`, with the schema version and,
// when given, a new value of Pass.
void ExportInto(sqlite3* source, const std::string& copy, std::string_view key, std::string_view passValue) {
  {
    const Statement attach = Prepare(source, "ATTACH DATABASE ? AS rewritten KEY ?");
    sqlite3_bind_text(attach.get(), 1, copy.data(), static_cast<int>(copy.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(attach.get(), 2, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
    if (sqlite3_step(attach.get()) != SQLITE_DONE) throw StoreError(sqlite3_errmsg(source));
  }
  try {
    Run(source, "SELECT sqlcipher_export('rewritten')");
    const Statement version = Prepare(source, "PRAGMA main.user_version");
    if (sqlite3_step(version.get()) != SQLITE_ROW) throw StoreError(sqlite3_errmsg(source));
    Run(source, ("PRAGMA rewritten.user_version = " + std::to_string(sqlite3_column_int(version.get(), 0))).c_str());
    const Statement update = Prepare(source, "update rewritten.Pass  set 密码=?");
    sqlite3_bind_text(update.get(), 1, passValue.data(), static_cast<int>(passValue.size()), SQLITE_STATIC);
    if (sqlite3_step(update.get()) != SQLITE_DONE) throw StoreError(sqlite3_errmsg(source));
  } catch (...) {
    sqlite3_exec(source, "DETACH DATABASE rewritten", nullptr, nullptr, nullptr);
    throw;
  }
  Run(source, "DETACH DATABASE rewritten");
}

// The copy must open from its own key and hold what the source holds, or it never replaces it.
void VerifyCopy(sqlite3* source, const std::string& copy, std::string_view key, std::string_view passValue) {
  const Database written = OpenKeyedOrThrow(copy, key);
  if (!SameRows(source, written.get(), "Select * from data order by 编号") ||
      !SameRows(source, written.get(), "Select * from EnCrypt") ||
      (HasHistory(source) && !SameRows(source, written.get(), "Select * from history order by 版本")) ||
      (HasTable(source, "desktop_consent") &&
       !SameRows(source, written.get(), "Select * from desktop_consent order by 接口")))
    throw StoreError("the new copy of \"" + copy + "\" does not hold the same records");
  if (PassValue(written.get()) != passValue) throw StoreError("the new copy of \"" + copy + "\" is incomplete");
}

// Writes `path` anew under `destinationKey` through a checked copy that replaces it at once.
void Rewrite(const std::string& path, std::string_view sourceKey, std::string_view destinationKey,
             std::string_view passValue) {
  const ReplacementLock lock(FolderOf(path), ReplacementLock::Mode::kExclusive);
  std::error_code error;
  // Through a link to the file it names, so the new file lands where the data is.
  const std::string database = std::filesystem::canonical(path, error).string();
  if (error) throw StoreError("cannot find \"" + path + "\": " + error.message());
  Database source = OpenKeyedOrThrow(database, sourceKey);

  // Readable by the user alone; the engine writes into the empty file.
  LockedTemporary temporary(FolderOf(database) + "/" + std::string(kRekeyPrefix));
  if (!temporary.created())
    throw StoreError("cannot create a file in \"" + FolderOf(database) + "\": " + std::strerror(temporary.error()));
  ExportInto(source.get(), temporary.path(), destinationKey, passValue);
  VerifyCopy(source.get(), temporary.path(), destinationKey, passValue);
  source.reset();
  if (!temporary.sync() || ::rename(temporary.path().c_str(), database.c_str()) != 0)
    throw StoreError("cannot replace \"" + database + "\": " + std::strerror(errno));
  temporary.renamed();
  SyncFolder(FolderOf(database));
}

}  // namespace

DatabaseFileKind ClassifyDatabaseFile(const std::string& path) {
  Database db(nullptr, &sqlite3_close);
  const int rc = OpenKeyed(path, kDatabasePassword, db);
  if (rc == SQLITE_OK) return DatabaseFileKind::kFixedKey;
  if (rc != SQLITE_NOTADB) throw CannotOpen(path, db.get());
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size < kSmallestProtectedFile || FirstBytes(path, kPlainDatabaseHeader.size()) == kPlainDatabaseHeader)
    return DatabaseFileKind::kDamaged;
  return DatabaseFileKind::kProtected;
}

std::optional<std::array<unsigned char, kFileSaltBytes>> ReadFileSalt(const std::string& path) {
  const std::string bytes = FirstBytes(path, kFileSaltBytes);
  if (bytes.size() != kFileSaltBytes) return std::nullopt;
  std::array<unsigned char, kFileSaltBytes> salt{};
  std::memcpy(salt.data(), bytes.data(), salt.size());
  return salt;
}

bool OpensWithKey(const std::string& path, const FileKey& key) {
  // A file is whole pages: one that is not was cut short, whatever key is tried on it.
  std::error_code sizeError;
  const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
  if (!sizeError && (size == 0 || size % kPageBytes != 0))
    throw StoreError(DescribeEngineFailure(path, SQLITE_CORRUPT, 0, sqlite3_errstr(SQLITE_CORRUPT)));
  const RawKeyText keyText(key);
  Database db(nullptr, &sqlite3_close);
  const int rc = OpenKeyed(path, keyText.view(), db);
  // A wrong key reads the first page as noise (not a database); the right one gets further and
  // may find the rest damaged, which is no wrong password.
  if (rc != SQLITE_OK && (rc & 0xff) != SQLITE_NOTADB) throw CannotOpen(path, db.get());
  return rc == SQLITE_OK;
}

void ProtectDatabaseFile(const std::string& path, const FileKey& key) {
  const RawKeyText keyText(key);
  Rewrite(path, kDatabasePassword, keyText.view(), kProtectedPassMarker);
}

void UnprotectDatabaseFile(const std::string& path, const FileKey& key, std::string_view masterPasswordCipher) {
  const RawKeyText keyText(key);
  Rewrite(path, keyText.view(), kDatabasePassword, masterPasswordCipher);
}

void RekeyDatabaseFile(const std::string& path, const FileKey& current, const FileKey& next) {
  const RawKeyText currentText(current);
  const RawKeyText nextText(next);
  Rewrite(path, currentText.view(), nextText.view(), kProtectedPassMarker);
}

}  // namespace store
