#include "store/connection.h"

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <array>

#include "store/ascii_text.h"
#include "store/engine_error.h"
#include "store/query.h"
#include "store/store_error.h"

namespace store {

namespace {

// The keys a connection string of this program can hold. A value ends only where one of
// them follows a ';', so a folder name with ';' in it still reads as one data source.
constexpr std::array<std::string_view, 7> kKnownKeys = {
    "provider", "data source", "persist security info", "jet oledb:database password", "user id", "password", "mode",
};

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// Whether a new "key=" pair starts right after a ';' at `at` (or only blanks are left).
bool PairStartsAt(std::string_view text, std::size_t at) {
  const std::string_view rest = TrimBlanks(text.substr(at));
  if (rest.empty()) return true;
  const std::size_t equals = rest.find('=');
  if (equals == std::string_view::npos) return false;
  const std::string key = Lower(TrimBlanks(rest.substr(0, equals)));
  return std::find(kKnownKeys.begin(), kKnownKeys.end(), key) != kKnownKeys.end();
}

bool FileHasMoved(sqlite3* db) {
  int moved = 0;
  return sqlite3_file_control(db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved != 0;
}

}  // namespace

ConnectionString ConnectionString::Parse(std::string_view text) {
  ConnectionString result;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = pos;
    while (end < text.size() && !(text[end] == ';' && PairStartsAt(text, end + 1))) ++end;
    const std::string_view pair = text.substr(pos, end - pos);
    const std::size_t equals = pair.find('=');
    if (equals != std::string_view::npos) {
      const std::string key = Lower(TrimBlanks(pair.substr(0, equals)));
      const std::string_view value = pair.substr(equals + 1);
      if (key == "data source") result.dataSource = std::string(value);
      if (key == "jet oledb:database password") result.password = std::string(value);
    }
    pos = end + 1;
  }
  return result;
}

std::string BuildConnectionString(std::string_view programFolder, std::string_view fileName) {
  return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + std::string(programFolder) + std::string(fileName) +
         ";Persist Security Info=False;Jet OLEDB:Database Password=" + std::string(kDatabasePassword);
}

Connection::~Connection() { close(); }

void Connection::setConnectionString(std::string text) {
  if (text == text_) return;
  close();
  text_ = std::move(text);
}

void Connection::setFileKey(std::optional<FileKey> key) {
  close();
  fileKey_ = key;
}

sqlite3* Connection::handle() {
  if (db_ != nullptr && !FileHasMoved(db_)) return db_;
  // The file was deleted or replaced behind the open connection: its old rows are gone, and
  // the engine would refuse every write as "readonly". Open what is there now, or say it is gone.
  close();
  if (text_.empty()) throw StoreError("no connection string is set");

  const ConnectionString parts = ConnectionString::Parse(text_);
  if (parts.dataSource.empty()) throw StoreError("the connection string names no data source");
  const std::string what = "cannot open database \"" + parts.dataSource + "\": ";

  sqlite3* db = nullptr;
  // Read-write without create: a missing file must stay missing.
  int rc = sqlite3_open_v2(parts.dataSource.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_busy_timeout(db, kBusyTimeoutMilliseconds);
  if (rc == SQLITE_OK && fileKey_) {
    const RawKeyText key(*fileKey_);
    rc = sqlite3_key(db, key.view().data(), static_cast<int>(key.view().size()));
  } else if (rc == SQLITE_OK) {
    rc = sqlite3_key(db, parts.password.data(), static_cast<int>(parts.password.size()));
  }
  if (rc != SQLITE_OK) {
    const std::string message = DescribeEngineFailure(parts.dataSource, db, what);
    sqlite3_close(db);
    throw StoreError(message);
  }

  // The key is only checked when the first page is read. An empty schema means an empty
  // (or zero-length) file, which is no account database either.
  sqlite3_stmt* check = nullptr;
  rc = sqlite3_prepare_v2(db, "select count(*) from sqlite_master", -1, &check, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_step(check);
  const bool hasTables = rc == SQLITE_ROW && sqlite3_column_int(check, 0) > 0;
  const std::string message = rc == SQLITE_ROW
                                  ? DescribeEngineFailure(parts.dataSource, SQLITE_NOTADB, 0,
                                                          what + "file is not a database (it holds no tables)")
                                  : DescribeEngineFailure(parts.dataSource, db, what);
  sqlite3_finalize(check);
  if (!hasTables) {
    sqlite3_close(db);
    throw StoreError(message);
  }
  db_ = db;
  dataSource_ = parts.dataSource;
  return db_;
}

void Connection::close() {
  const std::vector<Query*> queries = queries_;  // a query's observer may run code on close
  for (Query* query : queries) query->close();
  if (db_ == nullptr) return;
  sqlite3_close(db_);
  db_ = nullptr;
}

void Connection::attach(Query* query) { queries_.push_back(query); }

void Connection::detach(Query* query) { std::erase(queries_, query); }

}  // namespace store
