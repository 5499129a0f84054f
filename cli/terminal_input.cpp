#include "cli/terminal_input.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <string>

#include "cli/cli_error.h"

namespace cli {

namespace {

// A password line longer than this is no password (`< /dev/zero` would never end); other answers
// get more room for long notes.
constexpr std::size_t kLongestPasswordLine = 4096;
constexpr std::size_t kLongestLine = 65536;

// One line without its line end; nullopt when the input ends before anything was read. Read a
// byte at a time, so that nothing after the line is taken from a shared standard input.
std::optional<std::string> ReadLine(int fd, std::size_t longest) {
  std::string line;
  char c = 0;
  ssize_t got = 0;
  while ((got = ::read(fd, &c, 1)) == 1 && c != '\n') {
    if (line.size() == longest) throw Failure(QString("输入的一行超过 %1 KiB, 已拒绝.").arg(longest / 1024));
    line += c;
  }
  if (got < 0 || (got == 0 && line.empty())) return std::nullopt;
  if (line.ends_with('\r')) line.pop_back();
  return line;
}

bool Write(int fd, const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
}

// The terminal's settings while its echo is off, for a Ctrl+C in the middle of a hidden answer.
int quietTerminal = -1;
termios echoingSettings{};

void RestoreEchoAndEnd(int signal) {
  ::tcsetattr(quietTerminal, TCSANOW, &echoingSettings);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

std::optional<QString> AskOn(int tty, const QString& prompt, bool hidden) {
  termios original{};
  const bool quiet = hidden && ::tcgetattr(tty, &original) == 0;
  if (quiet) {
    quietTerminal = tty;
    echoingSettings = original;
    std::signal(SIGINT, RestoreEchoAndEnd);
    std::signal(SIGTERM, RestoreEchoAndEnd);
    termios noEcho = original;
    noEcho.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    noEcho.c_lflag |= ECHONL;
    ::tcsetattr(tty, TCSAFLUSH, &noEcho);
  }
  // The terminal gets its echo back however the answer ends, a refused long line included.
  struct EchoBack {
    bool quiet;
    int tty;
    const termios& original;
    ~EchoBack() {
      if (!quiet) return;
      ::tcsetattr(tty, TCSANOW, &original);
      std::signal(SIGINT, SIG_DFL);
      std::signal(SIGTERM, SIG_DFL);
    }
  } echoBack{quiet, tty, original};
  std::optional<std::string> line;
  if (Write(tty, prompt)) line = ReadLine(tty, hidden ? kLongestPasswordLine : kLongestLine);
  if (!line) return std::nullopt;
  return QString::fromStdString(*line);
}

int OpenTerminal() { return ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC); }

}  // namespace

TerminalInput::TerminalInput() {
  if (::isatty(STDIN_FILENO)) terminal_ = OpenTerminal();
}

TerminalInput::~TerminalInput() {
  if (terminal_ >= 0) ::close(terminal_);
}

std::optional<QString> TerminalInput::ask(const QString& prompt, bool hidden) {
  if (terminal_ >= 0) return AskOn(terminal_, prompt, hidden);
  const std::optional<std::string> line = ReadLine(STDIN_FILENO, hidden ? kLongestPasswordLine : kLongestLine);
  if (!line) return std::nullopt;
  return QString::fromStdString(*line);
}

std::optional<bool> ConfirmOnTerminal(const QString& question) {
  const int tty = OpenTerminal();
  if (tty < 0) return std::nullopt;
  const std::optional<QString> answer = AskOn(tty, question + " [y/N] ", false);
  ::close(tty);
  const QString word = answer.value_or(QString()).trimmed().toLower();
  return word == "y" || word == "yes";
}

}  // namespace cli
