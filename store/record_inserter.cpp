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
}

void RecordInserter::rollback() {
  if (!open_) return;
  open_ = false;
  statement_.reset();
  // The engine may have rolled back already after a full disk or an I/O error.
  if (sqlite3_get_autocommit(db_) == 0) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

}  // namespace store
