#include "store/record_inserter.h"

#include "store/engine_error.h"
#include "store/store_error.h"

namespace store {

namespace {

void Bind(sqlite3_stmt* statement, int position, const std::string& value) {
  sqlite3_bind_text(statement, position, value.data(), static_cast<int>(value.size()), SQLITE_STATIC);
}

}  // namespace

RecordInserter::RecordInserter(Connection& connection) : connection_(connection), db_(connection.handle()) {
  // Dirty pages stay in memory until the commit, so that a rollback before it has written
  // nothing: the file keeps its very bytes, which a journal played back would not give (the
  // cipher writes every page anew).
  Run(db_, "PRAGMA cache_spill=OFF");
  if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
    throw StoreError(DescribeEngineFailure(connection_.dataSource(), db_));
  open_ = true;
  try {
    statement_ = Prepare(db_, sql::InsertRecordParameters());
  } catch (...) {
    rollback();
    throw;
  }
}

RecordInserter::~RecordInserter() { rollback(); }

void RecordInserter::insert(const sql::NewRecord& r) {
  sqlite3_stmt* statement = statement_.get();
  Bind(statement, 1, r.category);
  Bind(statement, 2, r.title);
  Bind(statement, 3, r.address);
  Bind(statement, 4, r.account);
  Bind(statement, 5, r.passwordCipher);
  Bind(statement, 6, r.noteCipher);
  if (sqlite3_step(statement) != SQLITE_DONE) throw StoreError(DescribeEngineFailure(connection_.dataSource(), db_));
  sqlite3_reset(statement);
}

void RecordInserter::commit() {
  statement_.reset();
  if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
    const std::string message = DescribeEngineFailure(connection_.dataSource(), db_);
    rollback();
    throw StoreError(message);
  }
  open_ = false;
  sqlite3_exec(db_, "PRAGMA cache_spill=ON", nullptr, nullptr, nullptr);
}

void RecordInserter::rollback() {
  if (!open_) return;
  open_ = false;
  statement_.reset();
  if (sqlite3_get_autocommit(db_) == 0) {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  } else {
    // After a full disk or an I/O error the engine has ended the transaction itself and plays
    // its journal back at the next read: read now, so that the file is whole again at once.
    sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  }
  sqlite3_exec(db_, "PRAGMA cache_spill=ON", nullptr, nullptr, nullptr);
}

}  // namespace store
