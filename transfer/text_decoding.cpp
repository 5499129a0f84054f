#include "transfer/text_decoding.h"

#include <QStringDecoder>

namespace transfer {

namespace {

QString Decode(QStringConverter::Encoding encoding, QByteArrayView bytes) {
  QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
  return decoder.decode(bytes);
}

}  // namespace

DecodedText DecodeText(const QByteArray& bytes) {
  const QByteArrayView view(bytes);
  if (view.startsWith("\xEF\xBB\xBF")) return {TextEncoding::Utf8, Decode(QStringConverter::Utf8, view.sliced(3))};
  if (view.startsWith("\xFF\xFE"))
    return {TextEncoding::Utf16LittleEndian, Decode(QStringConverter::Utf16LE, view.sliced(2))};
  if (view.startsWith("\xFE\xFF"))
    return {TextEncoding::Utf16BigEndian, Decode(QStringConverter::Utf16BE, view.sliced(2))};

  QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  QString text = utf8.decode(view);
  if (!utf8.hasError()) return {TextEncoding::Utf8, text};
  QStringDecoder gb18030("GB18030", QStringConverter::Flag::Stateless);
  return {TextEncoding::Gb18030, gb18030.decode(view)};
}

}  // namespace transfer
