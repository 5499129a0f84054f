#pragma once
// Import of other programs' CSV files and export of every record, confirmed on the terminal.
#include "cli/arguments.h"
#include "cli/cli_error.h"

namespace cli {

class Session;

ExitCode Import(const Invocation& invocation, Session& session);
ExitCode Export(const Invocation& invocation, Session& session);

}  // namespace cli
