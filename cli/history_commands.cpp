#include "cli/history_commands.h"

#include <algorithm>

#include "cli/confirmation.h"
#include "cli/record_lookup.h"
#include "cli/record_output.h"
#include "cli/session.h"
#include "cli/terminal_text.h"

namespace cli {

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

ExitCode RestoreVersion(const Invocation& invocation, Session& session) {
  vault::Vault& vault = session.vault();
  const vault::Record record = vault.listedRecord(FindRecord(vault, invocation.arguments[0]));
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

ExitCode RestoreDeleted(const Invocation& invocation, Session& session) {
  vault::Vault& vault = session.vault();
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

}  // namespace

ExitCode History(const Invocation& invocation, Session& session) {
  vault::Vault& vault = session.vault();
  const vault::Record record = vault.listedRecord(FindRecord(vault, invocation.arguments[0]));
  const std::vector<vault::KeptRecord> versions = vault.versionsOf(record.number);
  if (versions.empty()) throw UsageError("该记录没有历史版本.");
  PrintVersions(versions, invocation.has("--reveal"));
  return kSuccess;
}

ExitCode Trash(Session& session) {
  PrintDeletedRecords(session.vault().deletedRecords());
  return kSuccess;
}

ExitCode Restore(const Invocation& invocation, Session& session) {
  const bool deleted = invocation.values.contains("--deleted");
  if (deleted == invocation.values.contains("--version") || deleted != invocation.arguments.isEmpty())
    throw UsageError("请给出 编号或标题 --version 版本号, 或 --deleted 编号.\n" + HelpText("restore"));
  return deleted ? RestoreDeleted(invocation, session) : RestoreVersion(invocation, session);
}

}  // namespace cli
