#include "vault/listing.h"

#include <algorithm>

#include "store/store_error.h"
#include "vault/record_fields.h"

namespace vault {

Listing::Listing(store::Connection& connection) : query_(connection) {
  // The connection closes the query on its own too (compaction): the grid follows every change.
  query_.setObserver([this] { queryChanged(); });
}

Listing::~Listing() { query_.setObserver({}); }

void Listing::show(std::string_view statement) {
  query_.close();
  query_.clearSql();
  query_.addSql(statement);
  query_.open();
}

void Listing::reopen() {
  query_.close();
  query_.open();
}

void Listing::close() { query_.close(); }

int Listing::execute(const std::vector<std::string>& lines) {
  query_.clearSql();
  for (const std::string& line : lines) query_.addSql(line);
  return query_.execSql();
}

std::string Listing::field(int row, int column) const {
  const auto& held = rows();
  if (row < 0 || row >= count() || column < 0 || column >= static_cast<int>(fieldNames().size())) return {};
  return held[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

std::string Listing::field(int row, std::string_view name) const { return field(row, columnOf(name)); }

int Listing::columnOf(std::string_view name) const {
  const auto& names = fieldNames();
  const auto found = std::find(names.begin(), names.end(), name);
  return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

int Listing::rowOf(std::string_view number) const {
  const int column = columnOf(ColumnName(Field::kNumber));
  if (column < 0 || number.empty()) return -1;
  const auto& held = rows();
  const auto found = std::find_if(held.begin(), held.end(),
                                  [&](const auto& row) { return row[static_cast<std::size_t>(column)] == number; });
  return found == held.end() ? -1 : static_cast<int>(found - held.begin());
}

void Listing::deleteRow(int row) {
  if (row < 0 || row >= count()) throw store::StoreError("the listing holds no such row");
  query_.setCurrentIndex(row);
  // The view drops the one row instead of being reset, which would lay out every row again.
  beginRemoveRows(QModelIndex(), row, row);
  removingRow_ = true;
  try {
    query_.deleteCurrent();
  } catch (...) {
    // Nothing went: the announced removal ends, and the row comes back where it was.
    removingRow_ = false;
    --shownRows_;
    endRemoveRows();
    beginInsertRows(QModelIndex(), row, row);
    ++shownRows_;
    endInsertRows();
    throw;
  }
  removingRow_ = false;
  shownRows_ = rows().size();
  endRemoveRows();
}

void Listing::queryChanged() {
  if (removingRow_) return;
  const auto& held = rows();
  const bool sameRows = isOpen() == shownOpen_ && held.size() == shownRows_ &&
                        static_cast<const void*>(held.data()) == shownData_ && fieldNames().size() == shownColumns_;
  if (sameRows) return;
  beginResetModel();
  shownOpen_ = isOpen();
  shownRows_ = held.size();
  shownData_ = held.data();
  shownColumns_ = fieldNames().size();
  endResetModel();
}

int Listing::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !shownOpen_ ? 0 : static_cast<int>(shownRows_);
}

int Listing::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || !shownOpen_ ? 0 : static_cast<int>(shownColumns_);
}

QVariant Listing::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
  const auto& held = rows();
  if (index.row() >= static_cast<int>(held.size())) return {};
  const auto& row = held[static_cast<std::size_t>(index.row())];
  if (index.column() >= static_cast<int>(row.size())) return {};
  return QString::fromStdString(row[static_cast<std::size_t>(index.column())]);
}

QVariant Listing::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  const auto& names = fieldNames();
  if (section < 0 || section >= static_cast<int>(names.size())) return {};
  return QString::fromStdString(names[static_cast<std::size_t>(section)]);
}

}  // namespace vault
