#pragma once
// One command of keyhaven-cli as a whole: its name, what its command line may hold, its help and
// what it does. Each command is described in a file of its own under cli/commands/ and named once
// in the registry (cli/command_registry.cpp), which the parser, --help and the run all read.
#include <QStringList>
#include <memory>

#include "cli/arguments.h"
#include "cli/cli_error.h"

namespace cli {

class Session;
class TerminalInput;

// What a running command is given: its command line, the answers' source and the database.
class CommandContext {
 public:
  CommandContext(const Invocation& invocation, TerminalInput& input);
  ~CommandContext();
  CommandContext(const CommandContext&) = delete;
  CommandContext& operator=(const CommandContext&) = delete;

  const Invocation& invocation() const { return invocation_; }
  TerminalInput& input() { return input_; }
  // The logged-in database; the first call finds it, takes the folder's lock and asks for the
  // master password. Throws CliError.
  Session& session();

 private:
  const Invocation& invocation_;
  TerminalInput& input_;
  std::unique_ptr<Session> session_;
};

struct Command {
  const char* name = "";
  int fewestArguments = 0;
  int mostArguments = 0;
  QStringList flags{};           // options without a value
  QStringList valued{};          // the next word is the value
  QStringList optionalNumber{};  // takes the next word only when it is a number
  const char* usage = "";
  const char* description = "";
  // Logged in before run; a command that needs no database runs without the master password.
  bool logsIn = true;
  // Needs the graphical application (the clipboard); every other command stays off the display.
  bool graphical = false;
  ExitCode (*run)(CommandContext& context) = nullptr;
};

}  // namespace cli
