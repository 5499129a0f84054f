#pragma once
// The commands of keyhaven-cli, each on a logged-in session (generate needs none).
#include "cli/arguments.h"
#include "cli/cli_error.h"

namespace cli {

// Runs the invocation's command; gives its exit code, or throws CliError.
ExitCode RunCommand(const Invocation& invocation);

}  // namespace cli
