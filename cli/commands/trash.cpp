// trash: the recently deleted records, by the number that restore --deleted takes.
#include "cli/command.h"
#include "cli/record_output.h"
#include "cli/session.h"

namespace cli::commands {

namespace {

ExitCode RunTrash(CommandContext& context) {
  PrintDeletedRecords(context.session().vault().deletedRecords());
  return kSuccess;
}

}  // namespace

extern const Command kTrash{
    .name = "trash",
    .usage = "trash",
    .description = "列出最近删除的记录, 每行: 编号(供 restore --deleted 用)、删除时间、分类、标题、帐号.",
    .run = RunTrash,
};

}  // namespace cli::commands
