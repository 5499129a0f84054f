// history: a record's earlier versions, newest first.
#include <vector>

#include "cli/command.h"
#include "cli/record_lookup.h"
#include "cli/record_output.h"
#include "cli/session.h"

namespace cli::commands {

namespace {

ExitCode RunHistory(CommandContext& context) {
  const Invocation& invocation = context.invocation();
  vault::Vault& vault = context.session().vault();
  const vault::Record record = FindRecord(vault, invocation.arguments[0]);
  const std::vector<vault::KeptRecord> versions = vault.versionsOf(record.number);
  if (versions.empty()) throw UsageError("该记录没有历史版本.");
  PrintVersions(versions, invocation.has("--reveal"));
  return kSuccess;
}

}  // namespace

extern const Command kHistory{
    .name = "history",
    .fewestArguments = 1,
    .mostArguments = 1,
    .flags = {"--reveal"},
    .usage = "history 编号或标题 [--reveal]",
    .description = "列出一条记录的历史版本, 最新的在前: 版本号和时间, 然后各字段; 密码显示为 ******, 除非加 --reveal.",
    .run = RunHistory,
};

}  // namespace cli::commands
