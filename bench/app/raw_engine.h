#pragma once
// The yardstick: the bare SQLCipher engine running the program's statements on the same file,
// reading every column of every row as text, and keeping nothing.
#include <cstdint>
#include <string>

struct sqlite3;

class RawEngine {
 public:
  // Opens the file with the database password and reads the schema, as the program's first
  // statement does; throws std::runtime_error when that fails.
  explicit RawEngine(const std::string& path);
  ~RawEngine();
  RawEngine(const RawEngine&) = delete;
  RawEngine& operator=(const RawEngine&) = delete;

  // Runs one statement to its end; gives the number of rows it returned.
  long run(const std::string& statement);
  // Deletes one record by number with a bound value, as the program's row delete does.
  void deleteRecord(std::int64_t number);
  std::int64_t lastInsertedNumber() const;
  // Bytes of text read so far, so the reads cannot be taken for dead work.
  std::uint64_t bytesRead() const { return bytesRead_; }

 private:
  sqlite3* db_ = nullptr;
  std::uint64_t bytesRead_ = 0;
};
