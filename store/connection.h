#pragma once
// The one connection to the account database. It is opened by the first statement that needs it
// and stays open until closed; the next statement after a close opens it again.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/file_key.h"

struct sqlite3;

namespace store {

class Query;

// "Provider=...;Data Source=<file>;...;Jet OLEDB:Database Password=<key>" split into its parts.
struct ConnectionString {
  std::string dataSource;
  std::string password;
  static ConnectionString Parse(std::string_view text);
};

inline constexpr std::string_view kDatabaseFileName = "_.udb";

// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<folder>_.udb;Persist Security Info=False;Jet OLEDB:Database
// Password=kv7Rq2mZx9Tb"; another file of the folder by its name.
std::string BuildConnectionString(std::string_view programFolder, std::string_view fileName = kDatabaseFileName);
inline constexpr std::string_view kDatabasePassword = "kv7Rq2mZx9Tb";
// How long a statement waits for another program's transaction on the same file (the window
// and keyhaven-cli may work on it at once) before it reports the file locked.
inline constexpr int kBusyTimeoutMilliseconds = 5000;

class Connection {
 public:
  Connection() = default;
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  void setConnectionString(std::string text);
  const std::string& connectionString() const { return text_; }
  // A protected file's key, taken instead of the connection string's password from the next
  // open on; nullopt goes back to the password. Setting it closes the connection.
  void setFileKey(std::optional<FileKey> key);

  bool isOpen() const { return db_ != nullptr; }
  // The file of the open connection, for the messages of failing statements.
  const std::string& dataSource() const { return dataSource_; }
  // Opens on demand; throws StoreError for a missing connection string, a file that is not
  // a database or has another password. Never creates or writes a file while opening.
  sqlite3* handle();
  // Closes the queries on this connection too, as their rows came from the closed file.
  void close();

 private:
  friend class Query;
  void attach(Query* query);
  void detach(Query* query);

  std::string text_;
  std::string dataSource_;
  std::optional<FileKey> fileKey_;
  sqlite3* db_ = nullptr;
  std::vector<Query*> queries_;
};

}  // namespace store
