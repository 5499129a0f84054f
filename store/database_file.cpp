#include "store/database_file.h"

#include <sqlcipher/sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "store/connection.h"
#include "store/engine_handles.h"
#include "store/file_copy.h"
#include "store/store_error.h"
#include "store/temporary_files.h"

namespace store {

namespace {

// 分类 compares ignoring case, as the original engine did: the category lists treat names
// that differ only in case as one category.
constexpr const char* kSchema =
    "CREATE TABLE data ("
    "编号 INTEGER PRIMARY KEY AUTOINCREMENT, "
    "分类 TEXT COLLATE NOCASE, "
    "网址 TEXT, 标题 TEXT, 帐号 TEXT, 密码 TEXT, 备注 TEXT, "
    "统计 INTEGER NOT NULL DEFAULT 0);"
    "CREATE TABLE Pass (密码 TEXT);"
    "CREATE TABLE EnCrypt (序列号 TEXT);"
    "INSERT INTO EnCrypt (序列号) VALUES ('0');";

void Check(sqlite3* db, int rc) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE) throw StoreError(sqlite3_errmsg(db));
}

// `key` is the database password or a protected file's raw key; Pass holds `passValue`.
void WriteNewDatabase(const std::string& file, std::string_view key, std::string_view passValue) {
  sqlite3* raw = nullptr;
  const int opened = sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  Database db(raw, &sqlite3_close);
  if (opened != SQLITE_OK) throw StoreError(raw != nullptr ? sqlite3_errmsg(raw) : sqlite3_errstr(opened));
  Check(db.get(), sqlite3_key(db.get(), key.data(), static_cast<int>(key.size())));

  Check(db.get(), sqlite3_exec(db.get(), "BEGIN", nullptr, nullptr, nullptr));
  Check(db.get(), sqlite3_exec(db.get(), kSchema, nullptr, nullptr, nullptr));

  sqlite3_stmt* insert = nullptr;
  Check(db.get(), sqlite3_prepare_v2(db.get(), "INSERT INTO Pass (密码) VALUES (?)", -1, &insert, nullptr));
  std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> statement(insert, &sqlite3_finalize);
  sqlite3_bind_text(insert, 1, passValue.data(), static_cast<int>(passValue.size()), SQLITE_TRANSIENT);
  Check(db.get(), sqlite3_step(insert));
  statement.reset();

  const std::string version = "PRAGMA user_version = " + std::to_string(kSchemaVersion);
  Check(db.get(), sqlite3_exec(db.get(), version.c_str(), nullptr, nullptr, nullptr));
  Check(db.get(), sqlite3_exec(db.get(), "COMMIT", nullptr, nullptr, nullptr));
  if (sqlite3_close(db.release()) != SQLITE_OK) throw StoreError("cannot close the new database \"" + file + "\"");
}

std::string SystemError(const std::string& what) { return what + ": " + std::strerror(errno); }

// Made under a temporary name and published only when complete; see CreateDatabaseFile.
void CreateKeyedDatabaseFile(const std::string& path, std::string_view key, std::string_view passValue,
                             bool replaceExisting) {
  struct stat existing {};
  if (!replaceExisting && ::lstat(path.c_str(), &existing) == 0) throw StoreError("\"" + path + "\" already exists");

  const std::string folder = FolderOf(path);
  {
    LockedTemporary temporary(folder + "/" + std::string(kNewDatabasePrefix));
    if (!temporary.created())
      throw StoreError("cannot create a file in \"" + folder + "\": " + std::strerror(temporary.error()));
    // The engine takes the empty file as an empty database, so it never has to create one.
    WriteNewDatabase(temporary.path(), key, passValue);
    if (replaceExisting) {
      if (::rename(temporary.path().c_str(), path.c_str()) != 0)
        throw StoreError(SystemError("cannot write \"" + path + "\""));
      temporary.renamed();
    } else if (const int failure = PublishWithoutReplacing(temporary.path(), path); failure != 0) {
      throw StoreError("cannot write \"" + path + "\": " + std::strerror(failure));
    }
  }  // the temporary name goes before the folder is synced
  SyncFolder(folder);
}

}  // namespace

void CreateDatabaseFile(const std::string& path, std::string_view masterPasswordCipher, bool replaceExisting) {
  CreateKeyedDatabaseFile(path, kDatabasePassword, masterPasswordCipher, replaceExisting);
}

void CreateDatabaseFile(const std::string& path, const FileKey& key, bool replaceExisting) {
  const RawKeyText keyText(key);
  CreateKeyedDatabaseFile(path, keyText.view(), kProtectedPassMarker, replaceExisting);
}

}  // namespace store
