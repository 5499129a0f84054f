#pragma once
// The grid's view of the main query: one column per field, titled with the field's name,
// rows read on demand from the rows the query holds.
#include <QAbstractTableModel>

namespace store {
class Query;
}

class QueryTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  QueryTableModel(store::Query& query, QObject* parent);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 signals:
  // The query's current row moved without its rows changing.
  void currentRowChanged(int row);
  // The rows were replaced, closed or one was deleted.
  void rowsReplaced();

 private:
  void queryChanged();

  store::Query& query_;
  bool shownOpen_ = false;
  std::size_t shownRows_ = 0;
  const void* shownData_ = nullptr;
  std::size_t shownColumns_ = 0;
};
