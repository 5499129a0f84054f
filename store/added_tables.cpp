#include "store/added_tables.h"

#include <string>

#include "store/engine_handles.h"
#include "store/store_error.h"

namespace store {

bool HasTable(sqlite3* db, const char* table) {
  return sqlite3_table_column_metadata(db, "main", table, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr) ==
         SQLITE_OK;
}

void AddTableIfMissing(sqlite3* db, const char* table, const char* schema, int version) {
  if (HasTable(db, table)) return;
  Run(db, schema);
  const Statement current = Prepare(db, "PRAGMA user_version");
  if (sqlite3_step(current.get()) != SQLITE_ROW) throw StoreError(sqlite3_errmsg(db));
  if (sqlite3_column_int(current.get(), 0) < version)
    Run(db, ("PRAGMA user_version = " + std::to_string(version)).c_str());
}

}  // namespace store
