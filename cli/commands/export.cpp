// export: every record into a CSV file, passwords in plain text, after the questions.
#include <QFileInfo>
#include <csignal>

#include "cli/command.h"
#include "cli/confirmation.h"
#include "cli/interruption.h"
#include "cli/record_output.h"
#include "cli/session.h"
#include "cli/terminal_text.h"
#include "transfer/csv_export.h"

namespace cli::commands {

namespace {

ExitCode RunExport(CommandContext& context) {
  const Invocation& invocation = context.invocation();
  vault::Vault& vault = context.session().vault();
  const QString& target = invocation.arguments[0];
  if (QFileInfo::exists(target)) ConfirmUnlessYes(invocation, "文件已存在, 要替换它吗?\n" + ForTerminal(target));
  ConfirmUnlessYes(invocation, "导出的文件包含明文密码, 请妥善保管并在用完后删除.\n仍要导出吗?");
  // Ctrl+C, kill or a closed terminal ends the export in order: no half-written file of
  // passwords stays behind.
  CatchSignals({SIGINT, SIGTERM, SIGHUP});
  int written = 0;
  try {
    written = transfer::ExportCsv(vault, target, [] { return !Interrupted(); });
  } catch (const transfer::TransferError& error) {
    throw Failure(error.message());
  }
  PrintLine(QString("已导出 %1 条记录.").arg(written));
  return kSuccess;
}

}  // namespace

extern const Command kExport{
    .name = "export",
    .fewestArguments = 1,
    .mostArguments = 1,
    .flags = {"--yes"},
    .usage = "export 文件 [--yes]",
    .description = "把全部记录导出为 CSV 文件(含明文密码).",
    .run = RunExport,
};

}  // namespace cli::commands
