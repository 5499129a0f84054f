#include "transfer/csv_reader.h"

#include <utility>

namespace transfer {

namespace {

constexpr QChar kQuote = u'"';
constexpr QChar kComma = u',';
constexpr QChar kCarriageReturn = u'\r';
constexpr QChar kLineFeed = u'\n';

}  // namespace

std::optional<CsvRow> CsvReader::next() {
  while (available(0) && atLineEnd()) skipLineEnd();  // an empty line is no row
  if (!available(0)) return std::nullopt;
  CsvRow row;
  row.line = line_;
  for (;;) {
    row.fields << field(row.complete);
    if (!available(0)) break;
    if (text_[position_] == kComma) {
      ++position_;
      continue;
    }
    skipLineEnd();
    break;
  }
  return row;
}

bool CsvReader::available(qsizetype ahead) {
  while (position_ + ahead >= text_.size() && !ended_) {
    const QString piece = more_();
    if (piece.isEmpty()) {
      ended_ = true;
    } else {
      text_ = text_.sliced(position_) + piece;  // what was read goes
      position_ = 0;
    }
  }
  return position_ + ahead < text_.size();
}

// A field up to the comma or line end that ends it (not consumed).
QString CsvReader::field(bool& complete) {
  value_.resize(0);
  bool quoted = false;
  if (available(0) && text_[position_] == kQuote) {
    quoted = true;
    ++position_;
  }
  while (available(0)) {
    const QChar c = text_[position_];
    if (quoted) {
      if (c == kQuote) {
        if (available(1) && text_[position_ + 1] == kQuote) {
          value_ += kQuote;
          position_ += 2;
          continue;
        }
        quoted = false;  // text after the closing quote is kept, as lenient readers do
        ++position_;
        continue;
      }
      if (c == kLineFeed) ++line_;
      value_ += c;
      ++position_;
      continue;
    }
    if (c == kComma || atLineEnd()) break;
    value_ += c;
    ++position_;
  }
  if (quoted) complete = false;
  // A copy of its own size: the records keep the fields, and a grown buffer would double them.
  return QString(value_.constData(), value_.size());
}

bool CsvReader::atLineEnd() {
  const QChar c = text_[position_];
  return c == kLineFeed || (c == kCarriageReturn && available(1) && text_[position_ + 1] == kLineFeed);
}

void CsvReader::skipLineEnd() {
  if (text_[position_] == kCarriageReturn) ++position_;
  ++position_;
  ++line_;
}

std::vector<CsvRow> ReadCsv(QStringView text) {
  QString whole = text.toString();
  CsvReader reader([&whole] { return std::exchange(whole, QString()); });
  std::vector<CsvRow> rows;
  while (std::optional<CsvRow> row = reader.next()) rows.push_back(std::move(*row));
  return rows;
}

}  // namespace transfer
