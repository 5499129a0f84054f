// rm: one record deleted after a question on the terminal, or at once with --yes.
#include <optional>

#include "cli/command.h"
#include "cli/record_lookup.h"
#include "cli/session.h"
#include "cli/terminal_input.h"
#include "cli/terminal_text.h"

namespace cli::commands {

namespace {

ExitCode RunRemove(CommandContext& context) {
  const Invocation& invocation = context.invocation();
  vault::Vault& vault = context.session().vault();
  const vault::Record record = FindRecord(vault, invocation.arguments[0]);
  if (!invocation.has("--yes")) {
    const std::optional<bool> yes = ConfirmOnTerminal("您真的要删除该记录吗?\n" + record.number + "\t" +
                                                      ForTerminal(record.title) + " / " + ForTerminal(record.account));
    if (!yes) throw UsageError("没有终端可以确认删除, 请加 --yes.");
    if (!*yes) throw Failure("未删除.");
  }
  vault.removeRecord(record.number);  // one that another program deleted meanwhile is gone all the same
  return kSuccess;
}

}  // namespace

extern const Command kRemove{
    .name = "rm",
    .fewestArguments = 1,
    .mostArguments = 1,
    .flags = {"--yes"},
    .usage = "rm 编号或标题 [--yes]",
    .description = "删除一条记录; 在终端上询问 y/N, --yes 直接回答是.",
    .run = RunRemove,
};

}  // namespace cli::commands
