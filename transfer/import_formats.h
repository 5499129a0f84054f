#pragma once
// The four CSV formats that can be imported, told by their header line, and how one of their
// rows becomes a record. Columns are found by name, never by position.
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

#include "transfer/csv_import.h"
#include "vault/vault.h"

namespace transfer {

inline const QString kImportCategory = "导入";
inline const QString kBrowserCategory = "浏览器导入";
inline const QString kNoTitle = "无标题";

// A file's format and the position of each column it has, by the column's lower-case name.
struct RecognisedHeader {
  CsvFormat format;
  QHash<QString, int> columns;
};

std::optional<RecognisedHeader> RecogniseHeader(const QStringList& header);

struct MappedRow {
  enum class Kind { Record, OtherType, Unreadable };
  Kind kind = Kind::Record;
  vault::Record record;  // the category as the file names it
  QString reason;        // why an unreadable row cannot be imported
};

MappedRow MapRow(const RecognisedHeader& header, const QStringList& fields);

}  // namespace transfer
