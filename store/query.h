#pragma once
// A statement on the shared connection, with the rows of an opened Select held in memory.
// The connection must outlive its queries: it closes them when it closes.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/connection.h"

namespace store {

class Query {
 public:
  explicit Query(Connection& connection);
  ~Query();
  // The connection knows its queries by address.
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;

  // Replacing the statement closes the query. Lines are joined with line breaks.
  void clearSql();
  void addSql(std::string_view line);
  std::string sql() const;

  // Runs the Select and holds its rows in the statement's order, positioned on the first row.
  void open();
  void close();
  bool isOpen() const { return open_; }

  // Runs a statement that returns no rows; gives the number of rows it changed.
  int execSql();

  int fieldCount() const;
  std::string fieldName(int position) const;
  // The current row's value as text; a missing value, or no current row, reads as empty text.
  std::string field(int position) const;
  std::string field(std::string_view name) const;

  int recordCount() const;
  // 1-based number of the current row; 0 when there is none.
  int recNo() const;
  bool eof() const;
  bool bof() const;

  void first();
  void last();
  void next();
  void prior();
  // Moves by a signed distance, stopping at the first or last row.
  void moveBy(int distance);

  // Deletes the current row from table data by its 编号 and drops it from the held rows;
  // the next row becomes current. Throws StoreError when the query is closed or has no row.
  void deleteCurrent();

  // Called after every change of the held rows or of the current row (for views of the query).
  void setObserver(std::function<void()> observer);

  // Direct access for views: the held rows.
  const std::vector<std::string>& fieldNames() const { return names_; }
  const std::vector<std::vector<std::string>>& rows() const { return rows_; }
  // 0-based current row index, -1 when none.
  int currentIndex() const { return current_; }
  void setCurrentIndex(int index);

 private:
  void notify();

  Connection& connection_;
  std::vector<std::string> lines_;
  bool open_ = false;
  std::vector<std::string> names_;
  std::vector<std::vector<std::string>> rows_;
  int current_ = -1;
  bool eof_ = true;
  bool bof_ = true;
  std::function<void()> observer_;
};

}  // namespace store
