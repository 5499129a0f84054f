#include "store/desktop_consent.h"

#include "store/added_tables.h"
#include "store/engine_handles.h"
#include "store/record_history.h"
#include "store/store_error.h"

namespace store {

namespace {

constexpr const char* kTable = "desktop_consent";
constexpr const char* kSchema = "CREATE TABLE desktop_consent (接口 TEXT PRIMARY KEY, 令牌 TEXT NOT NULL);";

}  // namespace

std::string DesktopConsent(sqlite3* db, std::string_view interface) {
  if (!HasTable(db, kTable)) return {};
  const Statement select = Prepare(db, "SELECT 令牌 FROM desktop_consent WHERE 接口=?1");
  BindText(select.get(), 1, interface);
  const int rc = sqlite3_step(select.get());
  if (rc == SQLITE_DONE) return {};
  if (rc != SQLITE_ROW) throw StoreError(sqlite3_errmsg(db));
  return {reinterpret_cast<const char*>(sqlite3_column_text(select.get(), 0)),
          static_cast<std::size_t>(sqlite3_column_bytes(select.get(), 0))};
}

void KeepDesktopConsent(sqlite3* db, std::string_view interface, std::string_view token) {
  if (DesktopConsent(db, interface) == token) return;
  WriteTransaction write(db);
  if (token.empty()) {
    const Statement forget = Prepare(db, "DELETE FROM desktop_consent WHERE 接口=?1");
    BindText(forget.get(), 1, interface);
    StepToEnd(db, forget.get());
  } else {
    AddTableIfMissing(db, kTable, kSchema, kDesktopConsentFileVersion);
    const Statement keep = Prepare(db, "INSERT OR REPLACE INTO desktop_consent (接口, 令牌) VALUES (?1, ?2)");
    BindText(keep.get(), 1, interface);
    BindText(keep.get(), 2, token);
    StepToEnd(db, keep.get());
  }
  write.commit();
}

}  // namespace store
