// generate: a password printed, as the generator's settings make it; no database is opened.
#include "cli/command.h"
#include "cli/generated_password.h"
#include "cli/record_output.h"
#include "cli/session.h"

namespace cli::commands {

namespace {

ExitCode RunGenerate(CommandContext& context) {
  const Invocation& invocation = context.invocation();
  const QString length = invocation.arguments.value(0);
  PrintLine(GeneratedPassword(LocateDatabase(invocation.database).folder, length, !invocation.has("--no-symbols")));
  return kSuccess;
}

}  // namespace

extern const Command kGenerate{
    .name = "generate",
    .fewestArguments = 0,
    .mostArguments = 1,
    .flags = {"--no-symbols"},
    .usage = "generate [长度] [--no-symbols]",
    .description = "用密码生成器生成一个密码并打印.",
    .logsIn = false,
    .run = RunGenerate,
};

}  // namespace cli::commands
