// Categories: the lists rebuilt from the records, listing one category, add, rename, delete.
#include <QComboBox>
#include <QListWidget>
#include <QSet>
#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "app/tform1.h"
#include "platform/dialogs.h"
#include "store/backup.h"
#include "store/statements.h"
#include "widgets/panel_status_bar.h"

namespace {

constexpr int kShortestCategoryName = 4;

bool listHolds(const QListWidget* list, const QString& name) {
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->text().compare(name, Qt::CaseInsensitive) == 0) return true;
  return false;
}

// The message that refuses a new category name, or empty when the name may be used.
QString refusalOfName(const QListWidget* list, const QString& name) {
  if (name.size() < kShortestCategoryName) return "分类名称必须大于等于4个字符";
  if (listHolds(list, name)) return "该分类已经存在.";
  return QString();
}

}  // namespace

void TForm1::Button_GeiClassClick() {
  ListBox_Class->clear();
  Edit_FenLei->clear();
  Button_RefreshClick();
  ADOQuery1.close();
  ADOQuery1.open();
  // Names that differ only in letter case are one category; the first met by usage stands.
  // The held rows are read in order without moving the cursor: every move would also move
  // the grid's current row, which made the rebuild slow on large files.
  QSet<QString> seen;
  QStringList names;
  const auto& fieldNames = ADOQuery1.fieldNames();
  const auto categoryColumn = static_cast<std::size_t>(
      std::find(fieldNames.begin(), fieldNames.end(), std::string_view("分类")) - fieldNames.begin());
  if (categoryColumn < fieldNames.size()) {
    // Byte-equal names were decided already; only a new spelling is converted and folded.
    std::unordered_set<std::string_view> met;
    for (const auto& row : ADOQuery1.rows()) {
      const std::string& category = row[categoryColumn];
      if (category.empty() || !met.insert(category).second) continue;
      QString name = QString::fromStdString(category);
      if (QString folded = name.toCaseFolded(); !seen.contains(folded)) {
        seen.insert(std::move(folded));
        names << std::move(name);
      }
    }
  }
  ADOQuery1.close();
  ListBox_Class->addItems(names);
  Edit_FenLei->addItems(names);
  Edit_FenLei->setCurrentIndex(-1);
}

void TForm1::ListBox_ClassClick() {
  if (ListBox_Class->count() == 0 || !ListBox_Class->currentItem()) {
    Button_ClearAllEditClick();
    return;
  }
  const QString category = ListBox_Class->currentItem()->text();
  ADOQuery1.close();
  ADOQuery1.clearSql();
  ADOQuery1.addSql(store::sql::SelectCategoryByUsage(category.toStdString()));
  ADOQuery1.open();
  StatusBar1->setPanelText(0, category + "分类下共有" + QString::number(ADOQuery1.recordCount()) + "条");
  selectCategoryInForm(category);
  if (ADOQuery1.recordCount() == 0) {
    services_.dialogs.message("对不起该分类下还没有信息");
    ADOQuery1.close();
    ADOQuery1.clearSql();
    ADOQuery1.addSql(store::sql::SelectAllUnordered());
    ADOQuery1.open();
  }
  applyColumnLayout();
  Button_ClearAllEditClick();
}

void TForm1::PopupMenu2Popup() {
  // Rename and delete act on the category the user sees highlighted, never on another.
  const auto highlighted = ListBox_Class->selectedItems();
  N4->setEnabled(!highlighted.isEmpty());
  N3->setEnabled(!highlighted.isEmpty());
  if (!highlighted.isEmpty()) selectCategoryInForm(highlighted.front()->text());
}

void TForm1::N5Click() {
  const QString name = services_.dialogs.input("请输入分类", "分类", QString());
  if (name.isEmpty()) return;
  if (QString refusal = refusalOfName(ListBox_Class, name); !refusal.isEmpty()) {
    services_.dialogs.message(refusal);
    return;
  }
  ADOQuery1.clearSql();
  ADOQuery1.addSql(store::sql::InsertCategoryPlaceholder(name.toStdString(), protect("密码").toStdString()));
  ADOQuery1.execSql();
  services_.dialogs.message("分类添加成功.");
  Button_GeiClassClick();
  Button_RefreshClick();
}

void TForm1::N4Click() {
  const QString oldName = Edit_FenLei->currentText();
  if (oldName.isEmpty()) {
    services_.dialogs.message("请选中要修复的分类！");
    return;
  }
  const QString newName = services_.dialogs.input("请输入分类", "分类", oldName);
  if (newName.isEmpty()) return;
  if (QString refusal = refusalOfName(ListBox_Class, newName); !refusal.isEmpty()) {
    services_.dialogs.message(refusal);
    return;
  }
  ADOQuery1.close();
  ADOQuery_EnCrypt.close();
  ADOQuery_EnCrypt.clearSql();
  for (const std::string& line : store::sql::RenameCategoryLines(newName.toStdString(), oldName.toStdString()))
    ADOQuery_EnCrypt.addSql(line);
  ADOQuery_EnCrypt.execSql();
  ADOQuery1.close();
  ADOQuery_EnCrypt.close();
  Button_GeiClassClick();
  Button_RefreshClick();
}

void TForm1::N3Click() {
  const QString category = Edit_FenLei->currentText();
  if (!services_.dialogs.confirm("警告", "您真的要删除该分类吗?\n" + category)) return;
  // The backup is the only way back from this deletion: without it nothing is deleted.
  if (!takeBackup(store::CategoryBackupPrefix(category.toStdString()))) {
    services_.dialogs.message("备份数据库失败,分类没有删除.");
    return;
  }
  ADOQuery1.clearSql();
  ADOQuery1.addSql(store::sql::DeleteCategory(category.toStdString()));
  ADOQuery1.execSql();
  Button_ClearAllEditClick();
  Button_GeiClassClick();
}
