#pragma once
// Adding many records at once: one transaction and one prepared statement, so that either all
// of them are added or none, and a large batch does not parse the same statement every row.
#include "store/connection.h"
#include "store/engine_handles.h"
#include "store/statements.h"

namespace store {

class RecordInserter {
 public:
  // Begins the transaction, taking the file's write lock at once. Throws StoreError.
  explicit RecordInserter(Connection& connection);
  // Rolls back whatever was not committed.
  ~RecordInserter();
  RecordInserter(const RecordInserter&) = delete;
  RecordInserter& operator=(const RecordInserter&) = delete;

  // Throws StoreError; the transaction then stays open until rolled back.
  void insert(const sql::NewRecord& record);
  void commit();

 private:
  void rollback();

  Connection& connection_;
  sqlite3* db_;
  Statement statement_{nullptr, &sqlite3_finalize};
  bool open_ = false;
};

}  // namespace store
