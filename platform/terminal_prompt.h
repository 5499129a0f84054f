#pragma once
// Questions on the terminal, the hidden ones without echo. The echo comes back however the
// answer ends: a refused line, Ctrl+C or kill leave no terminal that hides what is typed.
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform {

// A password line longer than this is no password (`< /dev/zero` would never end); other
// answers get more room for long notes.
inline constexpr std::size_t kLongestPasswordLine = 4096;
inline constexpr std::size_t kLongestLine = 65536;

class LineTooLong : public std::length_error {
 public:
  using std::length_error::length_error;
};

// The controlling terminal (/dev/tty) for reading and writing; -1 without one.
int OpenTerminal();

// One line without its line end; nullopt when the input ends before anything was read. Read a
// byte at a time, so that nothing after the line is taken from a shared standard input.
// Throws LineTooLong past `longest` bytes.
std::optional<std::string> ReadLine(int fd, std::size_t longest);

// Writes the prompt on `tty` and reads the answer, a hidden one without echo.
std::optional<std::string> AskOnTerminal(int tty, std::string_view prompt, bool hidden, std::size_t longest);

}  // namespace platform
