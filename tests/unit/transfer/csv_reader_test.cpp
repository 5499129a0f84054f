// Reading CSV text as RFC 4180 writes it, and the encodings imported files come in.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QStringEncoder>
#include <utility>

#include "transfer/csv_reader.h"
#include "transfer/text_decoding.h"

namespace transfer {
namespace {

TEST(CsvReader, ReadsQuotedCommasDoubledQuotesAndLineBreaksWithTheLineEachRowStartsOn) {
  const QString text = QString::fromUtf16(
      u"a,\"b,c\",\"say \"\"hi\"\"\"\r\n"
      u"\r\n"
      u"\"two\r\nlines\",,x\n"
      u"last,\"\"\n"
      u"open,\"never closed\nat all");
  const auto rows = ReadCsv(text);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].line, 1);
  EXPECT_EQ(rows[0].fields, (QStringList{"a", "b,c", "say \"hi\""}));
  EXPECT_EQ(rows[1].line, 3) << "the empty line gives no row but counts";
  EXPECT_EQ(rows[1].fields, (QStringList{"two\r\nlines", "", "x"}));
  EXPECT_EQ(rows[2].line, 5);
  EXPECT_EQ(rows[2].fields, (QStringList{"last", ""}));
  EXPECT_TRUE(rows[2].complete);
  EXPECT_EQ(rows[3].line, 6);
  EXPECT_FALSE(rows[3].complete);
  EXPECT_TRUE(ReadCsv(u"").empty());
  EXPECT_EQ(ReadCsv(u"a,\n").front().fields, (QStringList{"a", ""})) << "a trailing comma is an empty field";

  qsizetype at = 0;  // the same text one character at a time: rows, quotes and line ends span pieces
  CsvReader pieces([&] { return at < text.size() ? text.sliced(at++, 1) : QString(); });
  for (const CsvRow& row : rows) {
    const std::optional<CsvRow> again = pieces.next();
    ASSERT_TRUE(again);
    EXPECT_EQ(again->fields, row.fields);
    EXPECT_EQ(again->line, row.line);
    EXPECT_EQ(again->complete, row.complete);
  }
  EXPECT_FALSE(pieces.next());
}

// The encoding found and the text, read a few bytes at a time.
std::pair<TextEncoding, QString> Decoded(QByteArray bytes) {
  QBuffer file(&bytes);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  TextReader reader(file, 4);
  QString text;
  for (QString piece = reader.next(); !piece.isEmpty(); piece = reader.next()) text += piece;
  return {reader.encoding(), text};
}

TEST(TextDecoding, AByteOrderMarkDecidesElseValidUtf8ElseGb18030) {
  // A piece starts with the zero-width space, which stays; the surrogate pair falls across two.
  const QString text = "标题,名字\n\uFEFFx\U00020000,x\n";
  const QByteArray utf8 = text.toUtf8();
  EXPECT_EQ(Decoded(utf8), std::pair(TextEncoding::Utf8, text));
  EXPECT_EQ(Decoded("\xEF\xBB\xBF" + utf8), std::pair(TextEncoding::Utf8, text)) << "the mark is no part of the text";
  EXPECT_EQ(Decoded("\xFF\xFE" + QStringEncoder(QStringConverter::Utf16LE).encode(text)),
            std::pair(TextEncoding::Utf16LittleEndian, text));
  EXPECT_EQ(Decoded("\xFE\xFF" + QStringEncoder(QStringConverter::Utf16BE).encode(text)),
            std::pair(TextEncoding::Utf16BigEndian, text));

  // 你好 and a four-byte sequence (U+20000) as GB18030 writes them, after a line that is UTF-8 too.
  EXPECT_EQ(Decoded(QByteArray("a\n\xC4\xE3\xBA\xC3,\x95\x32\x82\x36")),
            std::pair(TextEncoding::Gb18030, QString::fromUtf8("a\n你好,\xF0\xA0\x80\x80")));
}

}  // namespace
}  // namespace transfer
