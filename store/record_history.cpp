#include "store/record_history.h"

#include <charconv>

#include "store/engine_handles.h"
#include "store/store_error.h"

namespace store {

namespace {

constexpr const char* kHistorySchema =
    "CREATE TABLE history ("
    "版本 INTEGER PRIMARY KEY AUTOINCREMENT, "
    "编号 INTEGER NOT NULL, "
    "分类 TEXT COLLATE NOCASE, 网址 TEXT, 标题 TEXT, 帐号 TEXT, 密码 TEXT, 备注 TEXT, "
    "时间 TEXT NOT NULL, "
    "已删除 INTEGER NOT NULL DEFAULT 0);"
    "CREATE INDEX history_by_record ON history(编号, 版本);"
    "CREATE INDEX history_by_deletion ON history(已删除, 时间);";

constexpr const char* kStateColumns = "版本, 编号, 分类, 标题, 网址, 帐号, 密码, 备注, 时间, 已删除";

long long RecordNumber(std::string_view number) {
  long long value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size())
    throw StoreError("no record number: \"" + std::string(number) + "\"");
  return value;
}

std::string Column(sqlite3_stmt* statement, int column) {
  const auto* text = sqlite3_column_text(statement, column);
  return text != nullptr ? std::string(reinterpret_cast<const char*>(text),
                                       static_cast<std::size_t>(sqlite3_column_bytes(statement, column)))
                         : std::string();
}

std::vector<KeptState> States(sqlite3* db, sqlite3_stmt* statement) {
  std::vector<KeptState> states;
  int rc = SQLITE_ROW;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    states.push_back({sqlite3_column_int64(statement, 0), Column(statement, 1), Column(statement, 2),
                      Column(statement, 3), Column(statement, 4), Column(statement, 5), Column(statement, 6),
                      Column(statement, 7), Column(statement, 8), sqlite3_column_int(statement, 9) != 0});
  }
  if (rc != SQLITE_DONE) throw StoreError(sqlite3_errmsg(db));
  return states;
}

void Keep(sqlite3* db, const char* where, const auto& bindKey, std::string_view time, bool deleted) {
  AddTableIfMissing(db, "history", kHistorySchema, kHistoryFileVersion);
  const Statement keep =
      Prepare(db, (std::string("INSERT INTO history (编号, 分类, 网址, 标题, 帐号, 密码, 备注, 时间, "
                               "已删除) SELECT 编号, 分类, 网址, 标题, 帐号, 密码, 备注, ?1, ?2 "
                               "FROM data WHERE ") +
                   where)
                      .c_str());
  BindText(keep.get(), 1, time);
  sqlite3_bind_int(keep.get(), 2, deleted ? 1 : 0);
  bindKey(keep.get());
  StepToEnd(db, keep.get());
}

}  // namespace

WriteTransaction::WriteTransaction(sqlite3* db) : db_(db) { Run(db_, "BEGIN IMMEDIATE"); }

WriteTransaction::~WriteTransaction() {
  if (open_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void WriteTransaction::commit() {
  Run(db_, "COMMIT");
  open_ = false;
}

bool HasHistory(sqlite3* db) { return HasTable(db, "history"); }

void KeepRecordState(sqlite3* db, std::string_view number, std::string_view time, bool deleted) {
  const long long key = RecordNumber(number);
  Keep(
      db, "编号=?3", [key](sqlite3_stmt* s) { sqlite3_bind_int64(s, 3, key); }, time, deleted);
}

void KeepCategoryStates(sqlite3* db, std::string_view category, std::string_view time, bool deleted) {
  Keep(
      db, "分类=?3", [category](sqlite3_stmt* s) { BindText(s, 3, category); }, time, deleted);
}

std::vector<KeptState> VersionsOf(sqlite3* db, std::string_view number) {
  if (!HasHistory(db)) return {};
  const Statement select = Prepare(
      db,
      (std::string("SELECT ") + kStateColumns + " FROM history WHERE 编号=?1 AND 已删除=0 ORDER BY 版本 DESC").c_str());
  sqlite3_bind_int64(select.get(), 1, RecordNumber(number));
  return States(db, select.get());
}

std::vector<KeptState> DeletedRecords(sqlite3* db) {
  if (!HasHistory(db)) return {};
  const Statement select =
      Prepare(db, (std::string("SELECT ") + kStateColumns + " FROM history WHERE 已删除=1 ORDER BY 版本 DESC").c_str());
  return States(db, select.get());
}

KeptState KeptStateById(sqlite3* db, long long id) {
  if (!HasHistory(db)) return {};
  const Statement select =
      Prepare(db, (std::string("SELECT ") + kStateColumns + " FROM history WHERE 版本=?1").c_str());
  sqlite3_bind_int64(select.get(), 1, id);
  std::vector<KeptState> found = States(db, select.get());
  return found.empty() ? KeptState() : found.front();
}

int WriteBack(sqlite3* db, const KeptState& version) {
  const Statement update =
      Prepare(db, "UPDATE data SET 分类=?1, 网址=?2, 标题=?3, 帐号=?4, 密码=?5, 备注=?6 WHERE 编号=?7");
  BindText(update.get(), 1, version.category);
  BindText(update.get(), 2, version.address);
  BindText(update.get(), 3, version.title);
  BindText(update.get(), 4, version.account);
  BindText(update.get(), 5, version.passwordCipher);
  BindText(update.get(), 6, version.noteCipher);
  sqlite3_bind_int64(update.get(), 7, RecordNumber(version.number));
  StepToEnd(db, update.get());
  return sqlite3_changes(db);
}

void PutBack(sqlite3* db, const KeptState& deleted) {
  const Statement insert =
      Prepare(db,
              "INSERT INTO data (编号, 分类, 网址, 标题, 帐号, 密码, 备注) SELECT 编号, 分类, 网址, "
              "标题, 帐号, 密码, 备注 FROM history WHERE 版本=?1 AND 已删除=1");
  sqlite3_bind_int64(insert.get(), 1, deleted.id);
  StepToEnd(db, insert.get());
  const Statement drop = Prepare(db, "DELETE FROM history WHERE 版本=?1");
  sqlite3_bind_int64(drop.get(), 1, deleted.id);
  StepToEnd(db, drop.get());
}

void ForgetRecord(sqlite3* db, std::string_view number) {
  if (!HasHistory(db)) return;
  Run(db, "PRAGMA secure_delete=ON");
  const Statement forget = Prepare(db, "DELETE FROM history WHERE 编号=?1");
  sqlite3_bind_int64(forget.get(), 1, RecordNumber(number));
  StepToEnd(db, forget.get());
}

void PruneVersionsOf(sqlite3* db, std::string_view number, int versions) {
  if (!HasHistory(db)) return;
  const Statement prune = Prepare(db,
                                  "DELETE FROM history WHERE 编号=?1 AND 已删除=0 AND 版本 NOT IN (SELECT 版本 FROM "
                                  "history WHERE 编号=?1 AND 已删除=0 ORDER BY 版本 DESC LIMIT ?2)");
  sqlite3_bind_int64(prune.get(), 1, RecordNumber(number));
  sqlite3_bind_int(prune.get(), 2, versions);
  StepToEnd(db, prune.get());
}

void PruneDeletedBefore(sqlite3* db, std::string_view cutoff) {
  if (!HasHistory(db)) return;
  const Statement expired =
      Prepare(db, "DELETE FROM history WHERE 编号 IN (SELECT 编号 FROM history WHERE 已删除=1 AND 时间<?1)");
  BindText(expired.get(), 1, cutoff);
  StepToEnd(db, expired.get());
}

void PruneVersions(sqlite3* db, int versions) {
  if (!HasHistory(db)) return;
  const Statement older = Prepare(db,
                                  "DELETE FROM history WHERE 已删除=0 AND (SELECT count(*) FROM history AS newer "
                                  "WHERE newer.编号=history.编号 AND newer.已删除=0 AND newer.版本>history.版本)>=?1");
  sqlite3_bind_int(older.get(), 1, versions);
  StepToEnd(db, older.get());
}

}  // namespace store
