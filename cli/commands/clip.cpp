// clip: the password (or the account) on the clipboard for the configured time, one use counted.
#include "cli/clip_hold.h"
#include "cli/command.h"
#include "cli/record_lookup.h"
#include "cli/record_output.h"
#include "cli/session.h"
#include "settings/settings_file.h"

namespace cli::commands {

namespace {

ExitCode RunClip(CommandContext& context) {
  const Invocation& invocation = context.invocation();
  Session& session = context.session();
  vault::Vault& vault = session.vault();
  const vault::Record record = FindRecord(vault, invocation.arguments[0]);
  const bool account = invocation.has("--account");
  const int seconds = settings::SettingsFile(session.folder()).read().clipboardSeconds;
  vault.countUse(record.number);  // a pick in the window counts the same way
  PrintLine(QString("已复制%1, %2 秒后清空剪贴板 (Ctrl+C 立即清空).").arg(account ? "帐号" : "密码").arg(seconds));
  HoldOnClipboard(account ? record.account : record.password, seconds);
  PrintLine("剪贴板已清空.");
  return kSuccess;
}

}  // namespace

extern const Command kClip{
    .name = "clip",
    .fewestArguments = 1,
    .mostArguments = 1,
    .flags = {"--account"},
    .usage = "clip [--account] 编号或标题",
    .description = "把密码(或帐号)复制到剪贴板, 计一次使用, 在设定的秒数后或按 Ctrl+C 时清空剪贴板.",
    .graphical = true,
    .run = RunClip,
};

}  // namespace cli::commands
