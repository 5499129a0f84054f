#include "cli/commands.h"

#include "cli/command_registry.h"
#include "cli/session.h"
#include "cli/terminal_input.h"

namespace cli {

CommandContext::CommandContext(const Invocation& invocation, TerminalInput& input)
    : invocation_(invocation), input_(input) {}

CommandContext::~CommandContext() = default;

Session& CommandContext::session() {
  if (!session_) session_ = std::make_unique<Session>(LocateDatabase(invocation_.database), input_);
  return *session_;
}

ExitCode RunCommand(const Invocation& invocation, TerminalInput& input) {
  // A name the registry does not know is refused before the master password is asked.
  const Command* command = FindCommand(invocation.command);
  if (!command) throw UsageError("未知的命令 " + invocation.command + ".");
  CommandContext context(invocation, input);
  if (command->logsIn) context.session();
  return command->run(context);
}

ExitCode RunCommand(const Invocation& invocation) {
  TerminalInput input;
  return RunCommand(invocation, input);
}

}  // namespace cli
