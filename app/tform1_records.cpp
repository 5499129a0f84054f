// Adding, modifying and deleting single records from the form.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <string>
#include <utility>

#include "app/tform1.h"
#include "encoding/codepage.h"
#include "platform/dialogs.h"
#include "widgets/panel_status_bar.h"

namespace {

// The first required field that is empty, with its message; empty when all are filled.
QString missingField(const QComboBox* category, const QLineEdit* title, const QLineEdit* account,
                     const QLineEdit* password) {
  if (category->currentText().isEmpty()) return "请选择分类.";
  if (title->text().isEmpty()) return "请填写标题.";
  if (account->text().isEmpty()) return "请填写帐号.";
  if (password->text().isEmpty()) return "请填写密码.";
  return QString();
}

// Refuses a password or note with a character the code page cannot carry: stored, it would
// come back replaced, and auto-fill would later enter a wrong value. Empty when both fit.
QString uncarriedCharacter(const QLineEdit* password, const QPlainTextEdit* note) {
  const std::pair<QString, QString> fields[] = {{"密码", password->text()}, {"备注", note->toPlainText()}};
  for (const auto& [name, text] : fields)
    if (std::string refused = encoding::FirstCharacterOutsideCp936(text.toStdString()); !refused.empty())
      return name + "中有无法保存的字符: " + QString::fromStdString(refused);
  return QString();
}

}  // namespace

void TForm1::Button1Click() {
  if (QString missing = missingField(Edit_FenLei, Edit_BiaoTi, Edit_ZhangHao, Edit_MiMa); !missing.isEmpty()) {
    services_.dialogs.message(missing);
    return;
  }
  if (QString refusal = uncarriedCharacter(Edit_MiMa, Memo_BeiZhu); !refusal.isEmpty()) {
    services_.dialogs.message(refusal);
    return;
  }
  vault_.addRecord(recordInForm());
  services_.dialogs.message("添加成功.");
  Button_ClearAllEditClick();
  Button_RefreshClick();
}

void TForm1::Button2Click() {
  if (Edit_BianHao->text().isEmpty()) {
    services_.dialogs.message("不可编辑");
    return;
  }
  if (QString missing = missingField(Edit_FenLei, Edit_BiaoTi, Edit_ZhangHao, Edit_MiMa); !missing.isEmpty()) {
    services_.dialogs.message(missing);
    return;
  }
  if (QString refusal = uncarriedCharacter(Edit_MiMa, Memo_BeiZhu); !refusal.isEmpty()) {
    services_.dialogs.message(refusal);
    return;
  }
  const int changed = vault_.modifyRecord(recordInForm());
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
  moveCursorTo(position - 1);
}

void TForm1::Button3Click() {
  // The grid's current row goes, which need not be the record in the form: the question names it.
  const int row = cursorRow();
  QString question = "您真的要删除该记录吗?";
  if (DataSource1->isOpen() && row >= 0)
    question += "\n" + QString::fromStdString(DataSource1->field(row, "标题")) + " / " +
                QString::fromStdString(DataSource1->field(row, "帐号"));
  if (!services_.dialogs.confirm("警告", question)) return;
  try {
    vault_.deleteRecord(QString::fromStdString(DataSource1->field(row, "编号")), row);
    Button_ClearAllEditClick();
  } catch (...) {
    // With no listing or no current row there is nothing to delete, and nothing to say.
  }
  moveCursorTo(row);  // the same row, or the next one in the deleted one's place
}

vault::Record TForm1::recordInForm() const {
  return {Edit_BianHao->text(),  Edit_FenLei->currentText(), Edit_WangZhi->text(),      Edit_BiaoTi->text(),
          Edit_ZhangHao->text(), Edit_MiMa->text(),          Memo_BeiZhu->toPlainText()};
}
