// Adding, modifying and deleting single records from the form.
#include "app/accounts_page.h"
#include "app/tform1.h"
#include "platform/dialogs.h"
#include "vault/record_checks.h"
#include "vault/record_fields.h"
#include "widgets/panel_status_bar.h"

namespace app {

void TForm1::Button1Click() {
  const vault::Record record = accountsPage_->record();
  if (QString missing = vault::MissingField(record); !missing.isEmpty()) {
    services_.dialogs.message(missing);
    return;
  }
  if (QString refusal = vault::UncarriedCharacter(record); !refusal.isEmpty()) {
    services_.dialogs.message(refusal);
    return;
  }
  vault_.addRecord(record);
  services_.dialogs.message("添加成功.");
  Button_ClearAllEditClick();
  Button_RefreshClick();
}

void TForm1::Button2Click() {
  if (accountsPage_->recordNumber().isEmpty()) {
    services_.dialogs.message("不可编辑");
    return;
  }
  const vault::Record record = accountsPage_->record();
  if (QString missing = vault::MissingField(record); !missing.isEmpty()) {
    services_.dialogs.message(missing);
    return;
  }
  if (QString refusal = vault::UncarriedCharacter(record); !refusal.isEmpty()) {
    services_.dialogs.message(refusal);
    return;
  }
  const int changed = vault_.modifyRecord(record);
  Button_ClearAllEditClick();
  if (changed == 0) {
    // The record was deleted meanwhile: saying "saved" would be a lie.
    services_.dialogs.message("该记录已不存在,修改未保存.");
    Button_RefreshClick();
    return;
  }
  services_.dialogs.message("修改成功.");
  Button_RefreshClick();
  const int position = StatusBar1->panelText(1).toInt();
  accountsPage_->moveCursorTo(position - 1);
}

void TForm1::Button3Click() {
  // The grid's current row goes, which need not be the record in the form: the question names it.
  const int row = accountsPage_->cursorRow();
  QString question = "您真的要删除该记录吗?";
  if (DataSource1->isOpen() && row >= 0)
    question += "\n" + QString::fromStdString(DataSource1->field(row, vault::ColumnName(vault::Field::kTitle))) +
                " / " + QString::fromStdString(DataSource1->field(row, vault::ColumnName(vault::Field::kAccount)));
  if (!services_.dialogs.confirm("警告", question)) return;
  try {
    vault_.deleteRecord(QString::fromStdString(DataSource1->field(row, vault::ColumnName(vault::Field::kNumber))), row);
    Button_ClearAllEditClick();
  } catch (...) {
    // With no listing or no current row there is nothing to delete, and nothing to say.
  }
  accountsPage_->moveCursorTo(row);  // the same row, or the next one in the deleted one's place
}

}  // namespace app
