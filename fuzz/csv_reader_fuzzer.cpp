// Any file an import may meet: decoding and reading must return, number the rows in order,
// and rows written back with every field quoted must read as the same fields.
#include <QByteArray>
#include <QString>
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString text = transfer::DecodeText(bytes).text;
  const std::vector<transfer::CsvRow> rows = transfer::ReadCsv(text);

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
