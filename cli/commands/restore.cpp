// restore: a record back to one of its versions, or a deleted record back, after a question.
#include <algorithm>
#include <vector>

#include "cli/command.h"
#include "cli/confirmation.h"
#include "cli/record_lookup.h"
#include "cli/record_output.h"
#include "cli/session.h"
#include "cli/terminal_text.h"

namespace cli::commands {

namespace {

long long KeptId(const QString& text, const QString& option) {
  bool number = false;
  const long long id = text.toLongLong(&number);
  if (!number || id <= 0) throw UsageError(option + " 需要一个编号.\n" + HelpText("restore"));
  return id;
}

const vault::KeptRecord* FindKept(const std::vector<vault::KeptRecord>& kept, long long id) {
  const auto found = std::find_if(kept.begin(), kept.end(), [id](const vault::KeptRecord& k) { return k.id == id; });
  return found != kept.end() ? &*found : nullptr;
}

ExitCode RestoreVersion(const Invocation& invocation, vault::Vault& vault) {
  const vault::Record record = FindRecord(vault, invocation.arguments[0]);
  const long long id = KeptId(invocation.values.value("--version"), "--version");
  const std::vector<vault::KeptRecord> versions = vault.versionsOf(record.number);
  const vault::KeptRecord* version = FindKept(versions, id);
  if (!version) throw UsageError("该记录没有版本 " + QString::number(id) + ".");
  ConfirmUnlessYes(invocation, "用 " + version->time + " 的版本替换记录 " + record.number + "\t" +
                                   ForTerminal(record.title) + " 吗? (当前内容先存为一个版本)");
  if (!vault.restoreVersion(id)) throw Failure("该记录已不存在,恢复未完成.");
  PrintLine("已恢复.");
  return kSuccess;
}

ExitCode RestoreDeleted(const Invocation& invocation, vault::Vault& vault) {
  const long long id = KeptId(invocation.values.value("--deleted"), "--deleted");
  const std::vector<vault::KeptRecord> deleted = vault.deletedRecords();
  const vault::KeptRecord* found = FindKept(deleted, id);
  if (!found) throw UsageError("最近删除中没有 " + QString::number(id) + ".");
  ConfirmUnlessYes(invocation, "恢复已删除的记录 " + ForTerminal(found->record.title) + " / " +
                                   ForTerminal(found->record.account) + " 吗?");
  vault.restoreDeleted(id);
  PrintLine("已恢复.");
  return kSuccess;
}

ExitCode RunRestore(CommandContext& context) {
  const Invocation& invocation = context.invocation();
  vault::Vault& vault = context.session().vault();
  const bool deleted = invocation.values.contains("--deleted");
  if (deleted == invocation.values.contains("--version") || deleted != invocation.arguments.isEmpty())
    throw UsageError("请给出 编号或标题 --version 版本号, 或 --deleted 编号.\n" + HelpText("restore"));
  return deleted ? RestoreDeleted(invocation, vault) : RestoreVersion(invocation, vault);
}

}  // namespace

extern const Command kRestore{
    .name = "restore",
    .fewestArguments = 0,
    .mostArguments = 1,
    .flags = {"--yes"},
    .valued = {"--version", "--deleted"},
    .usage = "restore 编号或标题 --version 版本号 [--yes] | restore --deleted 编号 [--yes]",
    .description =
        "用一个历史版本替换记录(当前内容先存为一个版本), 或恢复一条最近删除的记录; 在终端上询问 y/N, "
        "--yes 直接回答是.",
    .run = RunRestore,
};

}  // namespace cli::commands
