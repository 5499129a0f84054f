#include "cli/terminal_text.h"

#include <unistd.h>

#include <cstdio>

namespace cli {

namespace {

void AppendEscaped(std::string& out, unsigned char byte) {
  char code[5];
  std::snprintf(code, sizeof code, "\\x%02x", byte);
  out += code;
}

bool StandardOutputIsTerminal() {
  static const bool terminal = ::isatty(STDOUT_FILENO) == 1;
  return terminal;
}

}  // namespace

std::string EscapedForTerminal(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte == '\\') {
      out += "\\\\";
    } else if ((byte < 0x20 && byte != '\t' && byte != '\n') || byte == 0x7f) {
      AppendEscaped(out, byte);
    } else if (byte == 0xc2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(utf8[i + 1]) <= 0x9f) {
      // U+0080 to U+009F: the C1 controls, CSI (U+009B) among them.
      AppendEscaped(out, static_cast<unsigned char>(utf8[++i]));
    } else {
      out += static_cast<char>(byte);
    }
  }
  return out;
}

std::string ForStandardOutput(std::string_view utf8) {
  return StandardOutputIsTerminal() ? EscapedForTerminal(utf8) : std::string(utf8);
}

QString ForStandardOutput(const QString& text) { return StandardOutputIsTerminal() ? ForTerminal(text) : text; }

QString ForTerminal(const QString& text) { return QString::fromStdString(EscapedForTerminal(text.toStdString())); }

}  // namespace cli
