#include "app/query_table_model.h"

#include "store/query.h"

QueryTableModel::QueryTableModel(store::Query& query, QObject* parent) : QAbstractTableModel(parent), query_(query) {
  query_.setObserver([this] { queryChanged(); });
}

void QueryTableModel::queryChanged() {
  const auto& rows = query_.rows();
  bool sameRows = query_.isOpen() == shownOpen_ && rows.size() == shownRows_ &&
                  static_cast<const void*>(rows.data()) == shownData_ && query_.fieldNames().size() == shownColumns_;
  if (!sameRows) {
    beginResetModel();
    shownOpen_ = query_.isOpen();
    shownRows_ = rows.size();
    shownData_ = rows.data();
    shownColumns_ = query_.fieldNames().size();
    endResetModel();
    emit rowsReplaced();
  }
  emit currentRowChanged(query_.currentIndex());
}

int QueryTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !shownOpen_ ? 0 : static_cast<int>(shownRows_);
}

int QueryTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || !shownOpen_ ? 0 : static_cast<int>(shownColumns_);
}

QVariant QueryTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
  const auto& rows = query_.rows();
  if (index.row() >= static_cast<int>(rows.size())) return {};
  const auto& row = rows[static_cast<std::size_t>(index.row())];
  if (index.column() >= static_cast<int>(row.size())) return {};
  return QString::fromStdString(row[static_cast<std::size_t>(index.column())]);
}

QVariant QueryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  const auto& names = query_.fieldNames();
  if (section < 0 || section >= static_cast<int>(names.size())) return {};
  return QString::fromStdString(names[static_cast<std::size_t>(section)]);
}
