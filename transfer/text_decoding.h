#pragma once
// The text of an imported file: a byte-order mark decides, else a file that is valid UTF-8
// throughout is UTF-8, and anything else is taken for GB18030, as older Chinese tools write
// their exports.
#include <QIODevice>
#include <QString>

namespace transfer {

enum class TextEncoding { Utf8, Utf16LittleEndian, Utf16BigEndian, Gb18030 };

// Decodes a file a piece at a time, so that its whole text is never held beside what is made of it.
class TextReader {
 public:
  static constexpr qint64 kPieceBytes = qint64{1} << 20;

  // Reads `device` (open, at its start) once through to find the encoding, then starts again.
  // A failed read shows in the device's error, here and in next().
  explicit TextReader(QIODevice& device, qint64 pieceBytes = kPieceBytes);
  TextEncoding encoding() const { return encoding_; }
  // The text of the next piece of about pieceBytes of the file (more where no character ends
  // sooner), without the byte-order mark; empty at the end.
  QString next();

 private:
  QByteArray nextBytes();

  QIODevice& device_;
  qint64 pieceBytes_;
  qint64 start_ = 0;  // the byte-order mark's length
  TextEncoding encoding_ = TextEncoding::Utf8;
  QByteArray rest_;  // read beyond the last piece's end
};

}  // namespace transfer
