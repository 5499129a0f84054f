// ls: the records by use, of every category or of one, or the categories with their counts.
#include <optional>

#include "cli/command.h"
#include "cli/record_output.h"
#include "cli/session.h"

namespace cli::commands {

namespace {

ExitCode RunList(CommandContext& context) {
  const Invocation& invocation = context.invocation();
  vault::Vault& vault = context.session().vault();
  if (invocation.has("--categories")) {
    if (!invocation.arguments.isEmpty()) throw UsageError("--categories 不带分类名.\n" + HelpText("ls"));
    PrintCategories(vault.categoryCounts());
    return kSuccess;
  }
  std::optional<QString> category;
  if (!invocation.arguments.isEmpty()) category = invocation.arguments[0];
  ListingPrinter printer;
  const int listed =
      vault.visitByUsage([&printer](const vault::StoredRecord& record) { printer.add(record); }, category);
  if (listed == 0 && category) throw UsageError("对不起该分类下还没有信息");
  return kSuccess;
}

}  // namespace

extern const Command kList{
    .name = "ls",
    .fewestArguments = 0,
    .mostArguments = 1,
    .flags = {"--categories"},
    .usage = "ls [分类] | ls --categories",
    .description = "按使用次数列出记录, 每行: 编号、分类、标题、帐号, 以制表符分隔; --categories 列出分类及其记录数.",
    .run = RunList,
};

}  // namespace cli::commands
