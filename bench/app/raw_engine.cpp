#include "bench/app/raw_engine.h"

#include <sqlcipher/sqlite3.h>

#include <stdexcept>

#include "store/connection.h"

namespace {

[[noreturn]] void Fail(sqlite3* db, const std::string& what) {
  throw std::runtime_error(what + ": " + (db != nullptr ? sqlite3_errmsg(db) : "out of memory"));
}

}  // namespace

RawEngine::RawEngine(const std::string& path) {
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) Fail(db_, "open " + path);
  const std::string_view password = store::kDatabasePassword;
  if (sqlite3_key(db_, password.data(), static_cast<int>(password.size())) != SQLITE_OK) Fail(db_, "key");
  if (run("select count(*) from sqlite_master") != 1) Fail(db_, "schema");
}

RawEngine::~RawEngine() { sqlite3_close(db_); }

long RawEngine::run(const std::string& statement) {
  sqlite3_stmt* prepared = nullptr;
  if (sqlite3_prepare_v2(db_, statement.c_str(), static_cast<int>(statement.size()), &prepared, nullptr) != SQLITE_OK)
    Fail(db_, statement);
  const int columns = sqlite3_column_count(prepared);
  long rows = 0;
  int rc = SQLITE_ROW;
  while ((rc = sqlite3_step(prepared)) == SQLITE_ROW) {
    ++rows;
    for (int c = 0; c < columns; ++c) {
      if (sqlite3_column_text(prepared, c) != nullptr)
        bytesRead_ += static_cast<std::uint64_t>(sqlite3_column_bytes(prepared, c));
    }
  }
  sqlite3_finalize(prepared);
  if (rc != SQLITE_DONE) Fail(db_, statement);
  return rows;
}

void RawEngine::deleteRecord(std::int64_t number) {
  sqlite3_stmt* prepared = nullptr;
  if (sqlite3_prepare_v2(db_, "delete from data where 编号=?", -1, &prepared, nullptr) != SQLITE_OK)
    Fail(db_, "delete");
  // Bound as text, as the program binds the number it read from the row.
  const std::string text = std::to_string(number);
  sqlite3_bind_text(prepared, 1, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  const int rc = sqlite3_step(prepared);
  sqlite3_finalize(prepared);
  if (rc != SQLITE_DONE) Fail(db_, "delete");
}

std::int64_t RawEngine::lastInsertedNumber() const { return sqlite3_last_insert_rowid(db_); }
