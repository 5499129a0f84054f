#pragma once
// Runs a command of keyhaven-cli, logged in first unless it needs no database.
#include "cli/arguments.h"
#include "cli/cli_error.h"

namespace cli {

class TerminalInput;

// Runs the invocation's command with the master password and answers from `input`; gives its
// exit code, or throws CliError.
ExitCode RunCommand(const Invocation& invocation, TerminalInput& input);
// The same with the terminal, or standard input's lines.
ExitCode RunCommand(const Invocation& invocation);

}  // namespace cli
