#include "store/query.h"

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <memory>

#include "store/engine_error.h"
#include "store/engine_handles.h"
#include "store/statements.h"
#include "store/store_error.h"

namespace store {

namespace {

bool OnlyBlanks(const char* text) {
  for (; *text != '\0'; ++text) {
    if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n') return false;
  }
  return true;
}

// Prepares exactly one statement: text stacked after it would run unseen, so it is refused.
Statement PrepareOne(sqlite3* db, const std::string& text, const std::string& file) {
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  const int rc = sqlite3_prepare_v2(db, text.c_str(), static_cast<int>(text.size()), &raw, &tail);
  Statement statement(raw, &sqlite3_finalize);
  if (rc != SQLITE_OK) throw StoreError(DescribeEngineFailure(file, db));
  if (!statement) throw StoreError("the statement is empty");
  if (tail != nullptr && !OnlyBlanks(tail)) throw StoreError("only one statement may be run at a time");
  return statement;
}

std::string ColumnText(sqlite3_stmt* statement, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  if (text == nullptr) return {};
  return std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
}

}  // namespace

Query::Query(Connection& connection) : connection_(connection) { connection_.attach(this); }

Query::~Query() { connection_.detach(this); }

void Query::clearSql() {
  close();
  lines_.clear();
}

void Query::addSql(std::string_view line) {
  close();
  lines_.emplace_back(line);
}

std::string Query::sql() const {
  std::string text;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines_[i];
  }
  return text;
}

void Query::open() {
  close();
  sqlite3* db = connection_.handle();
  Statement statement = PrepareOne(db, sql::ToEngineDialect(sql()), connection_.dataSource());
  const int columns = sqlite3_column_count(statement.get());
  if (columns == 0) throw StoreError("the statement returns no rows");

  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(columns));
  for (int c = 0; c < columns; ++c) names.emplace_back(sqlite3_column_name(statement.get(), c));

  std::vector<std::vector<std::string>> rows;
  int rc = SQLITE_ROW;
  while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
    std::vector<std::string> row;
    row.reserve(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c) row.push_back(ColumnText(statement.get(), c));
    rows.push_back(std::move(row));
  }
  if (rc != SQLITE_DONE) throw StoreError(DescribeEngineFailure(connection_.dataSource(), db));

  names_ = std::move(names);
  rows_ = std::move(rows);
  open_ = true;
  current_ = rows_.empty() ? -1 : 0;
  bof_ = true;
  eof_ = rows_.empty();
  notify();
}

void Query::close() {
  if (!open_) return;
  open_ = false;
  names_.clear();
  rows_.clear();
  current_ = -1;
  bof_ = true;
  eof_ = true;
  notify();
}

int Query::execSql() {
  sqlite3* db = connection_.handle();
  Statement statement = PrepareOne(db, sql::ToEngineDialect(sql()), connection_.dataSource());
  int rc = SQLITE_ROW;
  while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE) throw StoreError(DescribeEngineFailure(connection_.dataSource(), db));
  return sqlite3_stmt_readonly(statement.get()) ? 0 : sqlite3_changes(db);
}

int Query::fieldCount() const { return static_cast<int>(names_.size()); }

std::string Query::fieldName(int position) const {
  if (position < 0 || position >= fieldCount()) return {};
  return names_[static_cast<std::size_t>(position)];
}

std::string Query::field(int position) const {
  if (current_ < 0 || position < 0 || position >= fieldCount()) return {};
  return rows_[static_cast<std::size_t>(current_)][static_cast<std::size_t>(position)];
}

std::string Query::field(std::string_view name) const {
  const auto found = std::find(names_.begin(), names_.end(), name);
  if (found == names_.end()) return {};
  return field(static_cast<int>(found - names_.begin()));
}

int Query::recordCount() const { return static_cast<int>(rows_.size()); }

int Query::recNo() const { return current_ + 1; }

bool Query::eof() const { return eof_; }

bool Query::bof() const { return bof_; }

void Query::first() {
  if (!rows_.empty()) current_ = 0;
  bof_ = true;
  eof_ = rows_.empty();
  notify();
}

void Query::last() {
  if (!rows_.empty()) current_ = recordCount() - 1;
  bof_ = rows_.empty();
  eof_ = true;
  notify();
}

void Query::next() { moveBy(1); }

void Query::prior() { moveBy(-1); }

void Query::moveBy(int distance) {
  // As with the original dataset: a move toward an end already reached does nothing, and a
  // move that runs past an end stops on the last row there and raises that end's flag.
  if ((distance > 0 && !eof_) || (distance < 0 && !bof_)) {
    const long target = static_cast<long>(current_) + distance;
    const long lastIndex = recordCount() - 1;
    bof_ = false;
    eof_ = false;
    if (target > lastIndex) {
      current_ = static_cast<int>(lastIndex);
      eof_ = true;
    } else if (target < 0) {
      current_ = 0;
      bof_ = true;
    } else {
      current_ = static_cast<int>(target);
    }
  }
  notify();
}

void Query::deleteCurrent() {
  if (!open_) throw StoreError("the query is not open");
  if (current_ < 0) throw StoreError("there is no current row to delete");
  const auto column = std::find(names_.begin(), names_.end(), std::string_view("编号"));
  if (column == names_.end()) throw StoreError("the rows carry no 编号 to delete by");
  const std::string number = field(static_cast<int>(column - names_.begin()));

  sqlite3* db = connection_.handle();
  Statement statement = PrepareOne(db, "delete from data where 编号=?", connection_.dataSource());
  sqlite3_bind_text(statement.get(), 1, number.data(), static_cast<int>(number.size()), SQLITE_TRANSIENT);
  if (sqlite3_step(statement.get()) != SQLITE_DONE)
    throw StoreError(DescribeEngineFailure(connection_.dataSource(), db));

  rows_.erase(rows_.begin() + current_);
  if (rows_.empty()) {
    current_ = -1;
    bof_ = true;
    eof_ = true;
  } else {
    current_ = std::min(current_, recordCount() - 1);
    bof_ = false;
    eof_ = false;
  }
  notify();
}

void Query::setObserver(std::function<void()> observer) { observer_ = std::move(observer); }

void Query::setCurrentIndex(int index) {
  if (rows_.empty()) return;
  current_ = std::clamp(index, 0, recordCount() - 1);
  bof_ = false;
  eof_ = false;
  notify();
}

void Query::notify() {
  if (observer_) observer_();
}

}  // namespace store
