#include "cli/terminal_input.h"

#include <unistd.h>

#include <string>

#include "cli/cli_error.h"
#include "platform/terminal_prompt.h"

namespace cli {

namespace {

// The line a reader gave, or the refusal of a too long one in the program's words.
template <typename Read>
std::optional<QString> LineOf(Read read, std::size_t longest) {
  try {
    const std::optional<std::string> line = read();
    if (!line) return std::nullopt;
    return QString::fromStdString(*line);
  } catch (const platform::LineTooLong&) {
    throw Failure(QString("输入的一行超过 %1 KiB, 已拒绝.").arg(longest / 1024));
  }
}

std::optional<QString> AskOn(int tty, const QString& prompt, bool hidden) {
  const std::size_t longest = hidden ? platform::kLongestPasswordLine : platform::kLongestLine;
  const std::string bytes = prompt.toStdString();
  return LineOf([&] { return platform::AskOnTerminal(tty, bytes, hidden, longest); }, longest);
}

}  // namespace

TerminalInput::TerminalInput() : lines_(STDIN_FILENO) {
  if (::isatty(STDIN_FILENO)) terminal_ = platform::OpenTerminal();
}

TerminalInput::~TerminalInput() {
  if (terminal_ >= 0) ::close(terminal_);
}

std::optional<QString> TerminalInput::ask(const QString& prompt, bool hidden) {
  if (terminal_ >= 0) return AskOn(terminal_, prompt, hidden);
  const std::size_t longest = hidden ? platform::kLongestPasswordLine : platform::kLongestLine;
  return LineOf([&] { return platform::ReadLine(lines_, longest); }, longest);
}

std::optional<bool> ConfirmOnTerminal(const QString& question) {
  const int tty = platform::OpenTerminal();
  if (tty < 0) return std::nullopt;
  const std::optional<QString> answer = AskOn(tty, question + " [y/N] ", false);
  ::close(tty);
  const QString word = answer.value_or(QString()).trimmed().toLower();
  return word == "y" || word == "yes";
}

}  // namespace cli
