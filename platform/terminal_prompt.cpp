#include "platform/terminal_prompt.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>

namespace platform {

namespace {

// The terminal's settings while its echo is off, for a Ctrl+C or kill in the middle of a hidden
// answer; and what those signals did before the question.
int quietTerminal = -1;
termios echoingSettings{};
struct sigaction interruptBefore {};
struct sigaction terminateBefore {};

void RestoreEchoAndEnd(int signal) {
  ::tcsetattr(quietTerminal, TCSANOW, &echoingSettings);
  std::signal(signal, SIG_DFL);
  std::raise(signal);  // delivered once the handler returns, and ends the program as it would have
}

void CatchEndingSignals() {
  struct sigaction restoring {};
  restoring.sa_handler = RestoreEchoAndEnd;
  sigemptyset(&restoring.sa_mask);
  ::sigaction(SIGINT, &restoring, &interruptBefore);
  ::sigaction(SIGTERM, &restoring, &terminateBefore);
}

void ReleaseEndingSignals() {
  ::sigaction(SIGINT, &interruptBefore, nullptr);
  ::sigaction(SIGTERM, &terminateBefore, nullptr);
}

}  // namespace

int OpenTerminal() { return ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC); }

std::optional<std::string> ReadLine(int fd, std::size_t longest) {
  std::string line;
  char c = 0;
  ssize_t got = 0;
  while ((got = ::read(fd, &c, 1)) == 1 && c != '\n') {
    if (line.size() == longest) throw LineTooLong("the line is too long");
    line += c;
  }
  if (got < 0 || (got == 0 && line.empty())) return std::nullopt;
  if (line.ends_with('\r')) line.pop_back();
  return line;
}

std::optional<std::string> AskOnTerminal(int tty, std::string_view prompt, bool hidden, std::size_t longest) {
  termios original{};
  const bool quiet = hidden && ::tcgetattr(tty, &original) == 0;
  if (quiet) {
    quietTerminal = tty;
    echoingSettings = original;
    CatchEndingSignals();
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
      ReleaseEndingSignals();
    }
  } echoBack{quiet, tty, original};
  if (::write(tty, prompt.data(), prompt.size()) != static_cast<ssize_t>(prompt.size())) return std::nullopt;
  return ReadLine(tty, longest);
}

}  // namespace platform
