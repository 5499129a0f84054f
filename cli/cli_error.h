#pragma once
// How a command ends: its exit code, and the message for standard error.
#include <QString>
#include <stdexcept>

namespace cli {

enum ExitCode : int { kSuccess = 0, kFailure = 1, kUsage = 2 };

// Ends the command with `code` after printing `message` (in the window's words) on standard error.
class CliError : public std::runtime_error {
 public:
  CliError(ExitCode code, const QString& message)
      : std::runtime_error(message.toStdString()), code_(code), message_(message) {}
  ExitCode code() const { return code_; }
  const QString& message() const { return message_; }

 private:
  ExitCode code_;
  QString message_;
};

// A command line the program does not understand, or a record that is not there or not one.
inline CliError UsageError(const QString& message) { return CliError(kUsage, message); }
inline CliError Failure(const QString& message) { return CliError(kFailure, message); }

}  // namespace cli
