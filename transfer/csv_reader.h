#pragma once
// Rows of comma-separated values as RFC 4180 writes them: fields in double quotes may hold
// commas, line breaks and doubled quotes; rows end in CRLF or LF.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace transfer {

struct CsvRow {
  int line = 0;  // the line where the row starts, 1-based
  QStringList fields;
  bool complete = true;  // false when a quoted field is still open at the end of the text
};

// Reads the rows one at a time from text that comes in pieces, so that a large file's rows are
// never all held at once. A row may span pieces.
class CsvReader {
 public:
  // `more` gives the next piece of the text, an empty one at its end.
  explicit CsvReader(std::function<QString()> more) : more_(std::move(more)) {}
  // The next row, nullopt after the last; empty lines give no row.
  std::optional<CsvRow> next();

 private:
  // Whether the text goes on `ahead` characters past the position; takes in pieces as needed.
  bool available(qsizetype ahead);
  QString field(bool& complete);
  bool atLineEnd();
  void skipLineEnd();

  std::function<QString()> more_;
  QString text_;
  qsizetype position_ = 0;
  int line_ = 1;
  bool ended_ = false;
  QString value_;  // the field being read; its room stays for the next one
};

// Every row of the text.
std::vector<CsvRow> ReadCsv(QStringView text);

}  // namespace transfer
