// Any file an import may meet: decoding and reading must return, number the rows in order,
// read the same rows from small pieces as from the whole text, and rows written back with
// every field quoted must read as the same fields.
#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "transfer/csv_reader.h"
#include "transfer/text_decoding.h"

namespace {

QString WriteQuoted(const std::vector<transfer::CsvRow>& rows) {
  QString text;
  for (const transfer::CsvRow& row : rows) {
    for (qsizetype i = 0; i < row.fields.size(); ++i) {
      if (i > 0) text += u',';
      text += u'"' + QString(row.fields[i]).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
    }
    text += u'\n';
  }
  return text;
}

bool SameRows(const std::vector<transfer::CsvRow>& a, const std::vector<transfer::CsvRow>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& left, const auto& right) {
    return left.line == right.line && left.fields == right.fields && left.complete == right.complete;
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QBuffer file(&bytes);
  file.open(QIODevice::ReadOnly);
  transfer::TextReader decoded(file, 7);  // pieces far smaller than rows
  QString text;
  transfer::CsvReader reader([&] {
    QString piece = decoded.next();
    text += piece;
    return piece;
  });
  std::vector<transfer::CsvRow> rows;
  while (std::optional<transfer::CsvRow> row = reader.next()) rows.push_back(std::move(*row));
  if (!SameRows(transfer::ReadCsv(text), rows)) std::abort();

  int previous = 0;
  for (const transfer::CsvRow& row : rows) {
    if (row.line <= previous || row.line > text.count(u'\n') + 1 || row.fields.isEmpty()) std::abort();
    previous = row.line;
  }
  if (!rows.empty() && !rows.back().complete) return 0;  // an open quote swallows the rest
  const std::vector<transfer::CsvRow> again = transfer::ReadCsv(WriteQuoted(rows));
  if (again.size() != rows.size()) std::abort();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (again[i].fields != rows[i].fields || !again[i].complete) std::abort();
  }
  return 0;
}
