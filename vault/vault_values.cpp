// The records in plain values, read beside the grid's listing, which stays as it is.
#include <QHash>
#include <algorithm>
#include <array>
#include <unordered_map>

#include "crypto/protected_field.h"
#include "store/statements.h"
#include "vault/categories.h"
#include "vault/note_search.h"
#include "vault/vault.h"

namespace vault {

namespace {

bool IsSecret(Field field) { return field == Field::kPassword || field == Field::kNote; }

// Where each field stands in the rows of a statement; past the end for one it does not select.
std::array<std::size_t, kFields.size()> ColumnsOf(const std::vector<std::string>& names) {
  std::array<std::size_t, kFields.size()> columns{};
  for (const Field field : kFields)
    columns[static_cast<std::size_t>(field)] =
        static_cast<std::size_t>(std::find(names.begin(), names.end(), ColumnName(field)) - names.begin());
  return columns;
}

bool IsRecordNumber(const QString& text) {
  return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= '0' && c <= '9'; });
}

}  // namespace

int Vault::visitSelected(const std::string& statement, const std::function<void(const StoredRecord&)>& visit) {
  store::Query query(connection_);
  query.addSql(statement);
  query.open();
  const auto columns = ColumnsOf(query.fieldNames());
  StoredRecord stored;
  for (const auto& row : query.rows()) {
    for (std::size_t i = 0; i < columns.size(); ++i)
      stored.fields_[i] = columns[i] < row.size() ? std::string_view(row[columns[i]]) : std::string_view();
    visit(stored);
  }
  return query.recordCount();
}

std::vector<Record> Vault::selected(const std::string& statement, bool withSecrets) {
  const crypto::FieldRevealer reveal(databaseKey_);
  std::vector<Record> records;
  visitSelected(statement, [&](const StoredRecord& stored) {
    Record& record = records.emplace_back();
    for (const Field field : kFields) {
      const std::string_view text = stored[field];
      if (!IsSecret(field))
        record.value(field) = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
      else if (withSecrets)
        record.value(field) = QString::fromStdString(reveal(text));
    }
  });
  return records;
}

std::optional<Record> Vault::record(const QString& number) {
  if (!IsRecordNumber(number)) return std::nullopt;
  std::vector<Record> found = selected(store::sql::SelectRecordsNumbered({number.toStdString()}), true);
  // Digits name a record only as they are stored: "007" is no record's number.
  if (found.size() != 1 || found.front().number != number) return std::nullopt;
  return std::move(found.front());
}

int Vault::visitByUsage(const std::function<void(const StoredRecord&)>& visit, const std::optional<QString>& category) {
  return visitSelected(
      category ? store::sql::SelectCategoryByUsage(category->toStdString()) : store::sql::SelectAllByUsage(), visit);
}

std::vector<Record> Vault::recordsMatching(Field field, const QString& keyword) {
  if (field != Field::kNote) return selected(store::sql::SelectLike(ColumnName(field), keyword.toStdString()), false);
  // Notes are stored enciphered: they are searched in memory, deciphered.
  store::Query notes(connection_);
  notes.addSql(store::sql::SelectNotes());
  notes.open();
  return selected(store::sql::SelectRecordsNumbered(NumbersOfNotesContaining(notes.rows(), databaseKey_, keyword)),
                  false);
}

std::vector<Vault::CategoryCount> Vault::categoryCounts() {
  store::Query query(connection_);
  query.addSql(store::sql::SelectAllByUsage());
  query.open();
  const std::size_t column = ColumnsOf(query.fieldNames())[static_cast<std::size_t>(Field::kCategory)];
  // Counted on the stored bytes, which keeps large files fast, then merged where names differ only
  // in letter case; the spelling met first by use stands.
  std::unordered_map<std::string, int> perName;
  std::vector<std::string> firstMet;
  for (const auto& row : query.rows()) {
    if (column >= row.size()) break;
    if (++perName[row[column]] == 1 && !row[column].empty()) firstMet.push_back(row[column]);
  }
  std::vector<CategoryCount> counts;
  QHash<QString, std::size_t> byFolded;
  for (const std::string& stored : firstMet) {
    const QString name = QString::fromStdString(stored);
    const QString folded = CategoryIdentity(name);
    if (!byFolded.contains(folded)) {
      byFolded.insert(folded, counts.size());
      counts.push_back({name, 0});
    }
    counts[byFolded.value(folded)].records += perName[stored];
  }
  return counts;
}

bool Vault::removeRecord(const QString& number) {
  store::WriteTransaction write(connection_.handle());
  keepState(number, true);
  const bool removed = run({store::sql::DeleteRecord(number.toStdString())}) > 0;
  if (removed) pruneDeleted();
  write.commit();
  return removed;
}

}  // namespace vault
