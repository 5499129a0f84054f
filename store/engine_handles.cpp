#include "store/engine_handles.h"

#include <string>

#include "store/store_error.h"

namespace store {

Statement Prepare(sqlite3* db, const char* text) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, text, -1, &raw, nullptr) != SQLITE_OK) throw StoreError(sqlite3_errmsg(db));
  return Statement(raw, &sqlite3_finalize);
}

void Run(sqlite3* db, const char* statements) {
  char* error = nullptr;
  if (sqlite3_exec(db, statements, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error != nullptr ? error : sqlite3_errmsg(db);
    sqlite3_free(error);
    throw StoreError(message);
  }
}

void BindText(sqlite3_stmt* statement, int position, std::string_view text) {
  sqlite3_bind_text(statement, position, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void StepToEnd(sqlite3* db, sqlite3_stmt* statement) {
  int rc = SQLITE_ROW;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE) throw StoreError(sqlite3_errmsg(db));
}

}  // namespace store
