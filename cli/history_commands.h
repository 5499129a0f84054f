#pragma once
// The records' history: a record's versions, the recently deleted records, and restoring either.
#include "cli/arguments.h"
#include "cli/cli_error.h"

namespace cli {

class Session;

ExitCode History(const Invocation& invocation, Session& session);
ExitCode Trash(Session& session);
ExitCode Restore(const Invocation& invocation, Session& session);

}  // namespace cli
