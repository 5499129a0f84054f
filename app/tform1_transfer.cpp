// Import of other programs' CSV files and export of every record, from the group 导入导出.
#include <QPushButton>
#include <QScopedValueRollback>
#include <optional>

#include "app/accounts_page.h"
#include "app/master_password_prompt.h"
#include "app/tform1.h"
#include "platform/dialogs.h"
#include "transfer/csv_export.h"
#include "transfer/csv_import.h"
#include "transfer/import_summary.h"
#include "widgets/panel_status_bar.h"

namespace app {

namespace {

const QString kImportCaption = "导入CSV";
const QString kExportCaption = "导出CSV";
const QString kCsvFilter = "CSV 文件 (*.csv);;所有文件 (*)";

}  // namespace

void TForm1::Button_ImportClick() {
  const QString path = services_.dialogs.openFileName(kImportCaption, kCsvFilter);
  if (path.isEmpty()) return;
  std::optional<transfer::ImportPlan> plan;
  try {
    plan = transfer::PlanImport(vault_, path);
  } catch (const transfer::TransferError& error) {
    return services_.dialogs.messageWithCaption(kImportCaption, error.message());
  }
  if (plan->records.empty())
    return services_.dialogs.messageWithCaption(kImportCaption, transfer::ImportSummary(*plan) + "\n没有可导入的记录.");
  if (!services_.dialogs.question(kImportCaption, transfer::ImportSummary(*plan) + "\n现在导入吗?")) return;

  std::optional<transfer::ImportOutcome> outcome;
  QString failure;
  {
    const QScopedValueRollback<bool> running(importRunning_, true);
    const auto progress = services_.dialogs.progress(kImportCaption, "正在导入...");
    try {
      outcome = transfer::RunImport(vault_, *plan, clockText(), [this, &progress](int done, int total) {
        return progress->advance(done, total) && !closeAfterImport_;
      });
    } catch (const transfer::TransferError& error) {
      failure = error.message();
    }
  }
  if (closeAfterImport_) return closeMainWindow();
  // The import closed the listing, whatever its outcome.
  accountsPage_->pressRebuildCategories();
  accountsPage_->pressRefresh();
  if (!outcome) return services_.dialogs.messageWithCaption(kImportCaption, failure);
  StatusBar1->setPanelText(0, *outcome == transfer::ImportOutcome::Imported
                                  ? QString("已导入 %1 条记录.").arg(plan->records.size())
                                  : QString("导入已取消, 没有导入任何记录."));
}

void TForm1::Button_ExportClick() {
  if (AskMasterPasswordAgain(services_.dialogs, vault_, keys_, kExportCaption, [this](const QString& text) {
        noteNow(text);
      }).isEmpty())
    return;
  if (!services_.dialogs.confirm(kExportCaption, "导出的文件包含明文密码, 请妥善保管并在用完后删除.")) return;
  const QString path = services_.dialogs.saveFileName(kExportCaption, "钥匣导出.csv", kCsvFilter);
  if (path.isEmpty()) return;
  int written = 0;
  try {
    written = transfer::ExportCsv(vault_, path);
  } catch (const transfer::TransferError& error) {
    return services_.dialogs.messageWithCaption(kExportCaption, error.message());
  }
  StatusBar1->setPanelText(0, QString("已导出 %1 条记录.").arg(written));
}

}  // namespace app
