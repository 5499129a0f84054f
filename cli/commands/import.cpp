// import: another program's CSV export, after a summary and a question, in one transaction.
#include <QDateTime>
#include <csignal>

#include "cli/command.h"
#include "cli/confirmation.h"
#include "cli/interruption.h"
#include "cli/record_output.h"
#include "cli/session.h"
#include "transfer/csv_import.h"
#include "transfer/import_summary.h"

namespace cli::commands {

namespace {

// The time stamp of the backup, in the form of the window's clock.
QString ClockText() { return QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss"); }

ExitCode RunImport(CommandContext& context) {
  const Invocation& invocation = context.invocation();
  vault::Vault& vault = context.session().vault();
  transfer::ImportPlan plan;
  try {
    plan = transfer::PlanImport(vault, invocation.arguments[0]);
  } catch (const transfer::TransferError& error) {
    throw Failure(error.message());
  }
  PrintLine(transfer::ImportSummary(plan));
  if (plan.records.empty()) {
    PrintLine("没有可导入的记录.");
    return kSuccess;
  }
  ConfirmUnlessYes(invocation, "现在导入吗?");
  // Ctrl+C while the records go in rolls the whole import back.
  CatchSignals({SIGINT});
  transfer::ImportOutcome outcome;
  try {
    outcome = transfer::RunImport(vault, plan, ClockText(), [](int, int) { return !Interrupted(); });
  } catch (const transfer::TransferError& error) {
    throw Failure(error.message());
  }
  if (outcome == transfer::ImportOutcome::Cancelled) throw Failure("导入已取消, 没有导入任何记录.");
  PrintLine(QString("已导入 %1 条记录.").arg(plan.records.size()));
  return kSuccess;
}

}  // namespace

extern const Command kImport{
    .name = "import",
    .fewestArguments = 1,
    .mostArguments = 1,
    .flags = {"--yes"},
    .usage = "import 文件 [--yes]",
    .description = "导入 CSV 文件(KeePassXC、Bitwarden、Chrome/Chromium、Firefox), 之前备份数据库.",
    .run = RunImport,
};

}  // namespace cli::commands
