#pragma once
// Where the master password and the answers come from: the terminal, without echo for secrets,
// when standard input is one; otherwise the lines of standard input in order. Never argv or the
// environment.
#include <QString>
#include <optional>

namespace cli {

class TerminalInput {
 public:
  TerminalInput();
  // The lines of this descriptor alone, never a terminal.
  explicit TerminalInput(int lines) : lines_(lines) {}
  ~TerminalInput();
  TerminalInput(const TerminalInput&) = delete;
  TerminalInput& operator=(const TerminalInput&) = delete;

  bool fromTerminal() const { return terminal_ >= 0; }
  // Asks on the terminal (a hidden answer without echo) or takes the next line of standard
  // input; nullopt when the input has ended.
  std::optional<QString> ask(const QString& prompt, bool hidden);

 private:
  int terminal_ = -1;
  int lines_ = 0;  // standard input
};

// A y/N question on the controlling terminal (/dev/tty), whatever standard input is; nullopt
// when there is no terminal.
std::optional<bool> ConfirmOnTerminal(const QString& question);

}  // namespace cli
