#pragma once
// Stored values come from anywhere (an imported file among them): on a terminal, a control
// character in one could move the cursor, rewrite the screen or set the window's title. There
// they are shown escaped; a pipe gets the values exactly as stored, so scripts read them unchanged.
#include <QString>
#include <string>
#include <string_view>

namespace cli {

// The UTF-8 text with C0 and C1 control characters (tab and line break aside) and DEL as \xNN,
// and the backslash as \\, so that what is shown cannot be mistaken for a value.
std::string EscapedForTerminal(std::string_view utf8);

// The text as it may be shown on the terminal that standard output goes to, if it is one.
std::string ForStandardOutput(std::string_view utf8);
QString ForStandardOutput(const QString& text);
// The text as it may be shown in a question on the terminal.
QString ForTerminal(const QString& text);

}  // namespace cli
