#pragma once
// Rows of comma-separated values as RFC 4180 writes them: fields in double quotes may hold
// commas, line breaks and doubled quotes; rows end in CRLF or LF.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

namespace transfer {

struct CsvRow {
  int line = 0;  // the line where the row starts, 1-based
  QStringList fields;
  bool complete = true;  // false when a quoted field is still open at the end of the text
};

// Every row of the text; empty lines give no row.
std::vector<CsvRow> ReadCsv(QStringView text);

}  // namespace transfer
