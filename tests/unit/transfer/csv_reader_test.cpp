// Reading CSV text as RFC 4180 writes it, and the encodings imported files come in.
#include <gtest/gtest.h>

#include <QStringEncoder>

#include "transfer/csv_reader.h"
#include "transfer/text_decoding.h"

namespace transfer {
namespace {

TEST(CsvReader, ReadsQuotedCommasDoubledQuotesAndLineBreaksWithTheLineEachRowStartsOn) {
  const auto rows = ReadCsv(
      u"a,\"b,c\",\"say \"\"hi\"\"\"\r\n"
      u"\r\n"
      u"\"two\r\nlines\",,x\n"
      u"last,\"\"\n"
      u"open,\"never closed\nat all");
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
}

TEST(TextDecoding, AByteOrderMarkDecidesElseValidUtf8ElseGb18030) {
  const QString text = "标题,名字\n";
  const QByteArray utf8 = text.toUtf8();
  EXPECT_EQ(DecodeText(utf8).encoding, TextEncoding::Utf8);
  EXPECT_EQ(DecodeText(utf8).text, text);
  const DecodedText withMark = DecodeText("\xEF\xBB\xBF" + utf8);
  EXPECT_EQ(withMark.encoding, TextEncoding::Utf8);
  EXPECT_EQ(withMark.text, text) << "the mark is no part of the text";

  const DecodedText little = DecodeText("\xFF\xFE" + QStringEncoder(QStringConverter::Utf16LE).encode(text));
  EXPECT_EQ(little.encoding, TextEncoding::Utf16LittleEndian);
  EXPECT_EQ(little.text, text);
  const DecodedText big = DecodeText("\xFE\xFF" + QStringEncoder(QStringConverter::Utf16BE).encode(text));
  EXPECT_EQ(big.encoding, TextEncoding::Utf16BigEndian);
  EXPECT_EQ(big.text, text);

  // 你好 and a four-byte sequence (U+20000) as GB18030 writes them: not UTF-8.
  const DecodedText chinese = DecodeText(QByteArray("\xC4\xE3\xBA\xC3,\x95\x32\x82\x36"));
  EXPECT_EQ(chinese.encoding, TextEncoding::Gb18030);
  EXPECT_EQ(chinese.text, QString::fromUtf8("你好,\xF0\xA0\x80\x80"));
}

}  // namespace
}  // namespace transfer
