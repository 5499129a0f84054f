#include "cli/transfer_commands.h"

#include <QDateTime>
#include <QFileInfo>
#include <csignal>
#include <optional>

#include "cli/confirmation.h"
#include "cli/interruption.h"
#include "cli/record_output.h"
#include "cli/session.h"
#include "cli/terminal_input.h"
#include "cli/terminal_text.h"
#include "transfer/csv_export.h"
#include "transfer/csv_import.h"
#include "transfer/import_summary.h"

namespace cli {

namespace {

// The time stamp of the backup, in the form of the window's clock.
QString ClockText() { return QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss"); }

}  // namespace

ExitCode Import(const Invocation& invocation, Session& session) {
  transfer::ImportPlan plan;
  try {
    plan = transfer::PlanImport(session.vault(), invocation.arguments[0]);
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
    outcome = transfer::RunImport(session.vault(), plan, ClockText(), [](int, int) { return !Interrupted(); });
  } catch (const transfer::TransferError& error) {
    throw Failure(error.message());
  }
  if (outcome == transfer::ImportOutcome::Cancelled) throw Failure("导入已取消, 没有导入任何记录.");
  PrintLine(QString("已导入 %1 条记录.").arg(plan.records.size()));
  return kSuccess;
}

ExitCode Export(const Invocation& invocation, Session& session) {
  const QString& target = invocation.arguments[0];
  if (QFileInfo::exists(target)) ConfirmUnlessYes(invocation, "文件已存在, 要替换它吗?\n" + ForTerminal(target));
  ConfirmUnlessYes(invocation, "导出的文件包含明文密码, 请妥善保管并在用完后删除.\n仍要导出吗?");
  // Ctrl+C, kill or a closed terminal ends the export in order: no half-written file of
  // passwords stays behind.
  CatchSignals({SIGINT, SIGTERM, SIGHUP});
  int written = 0;
  try {
    written = transfer::ExportCsv(session.vault(), target, [] { return !Interrupted(); });
  } catch (const transfer::TransferError& error) {
    throw Failure(error.message());
  }
  PrintLine(QString("已导出 %1 条记录.").arg(written));
  return kSuccess;
}

}  // namespace cli
