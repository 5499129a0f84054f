// show: one record in full, its password masked unless revealed.
#include "cli/command.h"
#include "cli/record_lookup.h"
#include "cli/record_output.h"
#include "cli/session.h"

namespace cli::commands {

namespace {

ExitCode RunShow(CommandContext& context) {
  const Invocation& invocation = context.invocation();
  PrintRecord(FindRecord(context.session().vault(), invocation.arguments[0]), invocation.has("--reveal"));
  return kSuccess;
}

}  // namespace

extern const Command kShow{
    .name = "show",
    .fewestArguments = 1,
    .mostArguments = 1,
    .flags = {"--reveal"},
    .usage = "show 编号或标题 [--reveal]",
    .description = "显示一条记录: 数字为编号, 否则为标题中包含该词的唯一记录; 密码显示为 ******, 除非加 --reveal.",
    .run = RunShow,
};

}  // namespace cli::commands
