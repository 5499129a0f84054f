#pragma once
// The text of an imported file: a byte-order mark decides, else valid UTF-8 is UTF-8, and
// anything else is taken for GB18030, as older Chinese tools write their exports.
#include <QByteArray>
#include <QString>

namespace transfer {

enum class TextEncoding { Utf8, Utf16LittleEndian, Utf16BigEndian, Gb18030 };

struct DecodedText {
  TextEncoding encoding;
  QString text;  // without the byte-order mark
};

DecodedText DecodeText(const QByteArray& bytes);

}  // namespace transfer
