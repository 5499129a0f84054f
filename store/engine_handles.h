#pragma once
// Owning handles over the SQLCipher C API and the two calls the store's services share.
#include <sqlcipher/sqlite3.h>

#include <memory>
#include <string_view>

namespace store {

using Database = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;
using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

// One statement, prepared; throws StoreError with the engine's message.
Statement Prepare(sqlite3* db, const char* text);

// Runs statements that return no rows; throws StoreError with the engine's message.
void Run(sqlite3* db, const char* statements);

// Binds a copy of the text to the statement's parameter.
void BindText(sqlite3_stmt* statement, int position, std::string_view text);

// Steps the prepared statement past its last row; throws StoreError with the engine's message.
void StepToEnd(sqlite3* db, sqlite3_stmt* statement);

}  // namespace store
