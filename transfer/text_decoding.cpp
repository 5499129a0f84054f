#include "transfer/text_decoding.h"

#include <QStringDecoder>
#include <utility>

namespace transfer {

namespace {

// Stateless: a piece ends where a character ends, so each decodes as it would in the whole text.
// The byte-order mark is taken off before: one at the start of a piece is text.
QStringDecoder DecoderFor(TextEncoding encoding) {
  constexpr auto kStateless = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;
  switch (encoding) {
    case TextEncoding::Utf16LittleEndian:
      return QStringDecoder(QStringConverter::Utf16LE, kStateless);
    case TextEncoding::Utf16BigEndian:
      return QStringDecoder(QStringConverter::Utf16BE, kStateless);
    case TextEncoding::Gb18030:
      return QStringDecoder("GB18030", kStateless);
    case TextEncoding::Utf8:
      break;
  }
  return QStringDecoder(QStringConverter::Utf8, kStateless);
}

// Where the last whole character of `bytes` ends (0: none), looked for from `from` on: the bytes
// before it end none. A line feed ends one in UTF-8 and in GB18030, whose other bytes never take
// its value. UTF-16 is decoded unit by unit, a surrogate pair's halves too: any even length.
qsizetype PieceEnd(const QByteArray& bytes, qsizetype from, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf16LittleEndian || encoding == TextEncoding::Utf16BigEndian)
    return bytes.size() & ~qsizetype{1};
  const qsizetype lineFeed = QByteArrayView(bytes).sliced(from).lastIndexOf('\n');
  return lineFeed < 0 ? 0 : from + lineFeed + 1;
}

}  // namespace

TextReader::TextReader(QIODevice& device, qint64 pieceBytes) : device_(device), pieceBytes_(pieceBytes) {
  const QByteArray start = device_.peek(3);
  if (start.startsWith("\xEF\xBB\xBF")) {
    start_ = 3;
  } else if (start.startsWith("\xFF\xFE")) {
    encoding_ = TextEncoding::Utf16LittleEndian;
    start_ = 2;
  } else if (start.startsWith("\xFE\xFF")) {
    encoding_ = TextEncoding::Utf16BigEndian;
    start_ = 2;
  } else {
    for (QByteArray bytes = nextBytes(); !bytes.isEmpty(); bytes = nextBytes()) {
      QStringDecoder utf8 = DecoderFor(TextEncoding::Utf8);
      [[maybe_unused]] const QString text = utf8.decode(bytes);  // decoded only for its errors
      if (utf8.hasError()) {
        encoding_ = TextEncoding::Gb18030;
        break;
      }
    }
    rest_.clear();
  }
  device_.seek(start_);
}

QString TextReader::next() {
  const QByteArray bytes = nextBytes();
  if (bytes.isEmpty()) return {};
  QStringDecoder decoder = DecoderFor(encoding_);
  return decoder.decode(bytes);
}

QByteArray TextReader::nextBytes() {
  QByteArray bytes = std::exchange(rest_, QByteArray());
  for (;;) {
    const QByteArray read = device_.read(pieceBytes_);
    if (read.isEmpty()) return bytes;  // the end, or a failed read
    const qsizetype from = bytes.size();
    bytes += read;
    if (const qsizetype end = PieceEnd(bytes, from, encoding_); end > 0) {
      rest_ = bytes.sliced(end);
      bytes.truncate(end);
      return bytes;
    }
  }
}

}  // namespace transfer
