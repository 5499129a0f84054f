#include "transfer/csv_reader.h"

namespace transfer {

namespace {

constexpr QChar kQuote = u'"';
constexpr QChar kComma = u',';
constexpr QChar kCarriageReturn = u'\r';
constexpr QChar kLineFeed = u'\n';

class Reader {
 public:
  explicit Reader(QStringView text) : text_(text) {}

  std::vector<CsvRow> rows() {
    std::vector<CsvRow> rows;
    while (position_ < text_.size()) {
      if (atLineEnd()) {  // an empty line is no row
        skipLineEnd();
        continue;
      }
      rows.push_back(row());
    }
    return rows;
  }

 private:
  CsvRow row() {
    CsvRow row;
    row.line = line_;
    for (;;) {
      row.fields << field(row.complete);
      if (position_ >= text_.size()) break;
      if (text_[position_] == kComma) {
        ++position_;
        continue;
      }
      skipLineEnd();
      break;
    }
    return row;
  }

  // A field up to the comma or line end that ends it (not consumed).
  QString field(bool& complete) {
    QString value;
    bool quoted = false;
    if (position_ < text_.size() && text_[position_] == kQuote) {
      quoted = true;
      ++position_;
    }
    while (position_ < text_.size()) {
      const QChar c = text_[position_];
      if (quoted) {
        if (c == kQuote) {
          if (position_ + 1 < text_.size() && text_[position_ + 1] == kQuote) {
            value += kQuote;
            position_ += 2;
            continue;
          }
          quoted = false;  // text after the closing quote is kept, as lenient readers do
          ++position_;
          continue;
        }
        if (c == kLineFeed) ++line_;
        value += c;
        ++position_;
        continue;
      }
      if (c == kComma || atLineEnd()) break;
      value += c;
      ++position_;
    }
    if (quoted) complete = false;
    return value;
  }

  bool atLineEnd() const {
    const QChar c = text_[position_];
    return c == kLineFeed ||
           (c == kCarriageReturn && position_ + 1 < text_.size() && text_[position_ + 1] == kLineFeed);
  }

  void skipLineEnd() {
    if (text_[position_] == kCarriageReturn) ++position_;
    ++position_;
    ++line_;
  }

  QStringView text_;
  qsizetype position_ = 0;
  int line_ = 1;
};

}  // namespace

std::vector<CsvRow> ReadCsv(QStringView text) { return Reader(text).rows(); }

}  // namespace transfer
