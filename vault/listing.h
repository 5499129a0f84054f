#pragma once
// The records of the current listing as the grid shows them: one column per field of the
// listing's statement, titled with the field's name, read on demand from the rows the
// listing's query holds. Every listing and every changing statement of the records runs here,
// so that the grid empties and fills as the query closes and opens.
#include <QAbstractTableModel>
#include <string>
#include <string_view>
#include <vector>

#include "store/query.h"

namespace vault {

class Listing : public QAbstractTableModel {
 public:
  explicit Listing(store::Connection& connection);
  ~Listing() override;

  // Closes the listing, replaces its statement and opens it, holding the rows it selects.
  void show(std::string_view statement);
  // Runs the listing's statement again.
  void reopen();
  void close();
  // Replaces the statement by a changing one, which closes the listing, and runs it; gives the
  // number of rows it changed.
  int execute(const std::vector<std::string>& lines);

  bool isOpen() const { return query_.isOpen(); }
  int count() const { return query_.recordCount(); }
  const std::vector<std::string>& fieldNames() const { return query_.fieldNames(); }
  const std::vector<std::vector<std::string>>& rows() const { return query_.rows(); }
  // A field of a row by position or by name; empty text for a row or field that is not there.
  std::string field(int row, int column) const;
  std::string field(int row, std::string_view name) const;
  // The row holding this record number, or -1.
  int rowOf(std::string_view number) const;
  // Deletes the record of this row from the table; the listing keeps its other rows.
  void deleteRow(int row);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  int columnOf(std::string_view name) const;
  void queryChanged();

  store::Query query_;
  bool removingRow_ = false;
  bool shownOpen_ = false;
  std::size_t shownRows_ = 0;
  const void* shownData_ = nullptr;
  std::size_t shownColumns_ = 0;
};

}  // namespace vault
