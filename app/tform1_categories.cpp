// Categories: the lists rebuilt from the records, listing one category, add, rename, delete.
#include <QComboBox>
#include <QListWidget>

#include "app/tform1.h"
#include "platform/dialogs.h"
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
  const QStringList names = vault_.categoriesOfListing();
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
  const int count = vault_.listCategory(category);
  StatusBar1->setPanelText(0, category + "分类下共有" + QString::number(count) + "条");
  selectCategoryInForm(category);
  if (count == 0) {
    services_.dialogs.message("对不起该分类下还没有信息");
    vault_.listAllUnordered();
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
  vault_.addCategory(name);
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
  vault_.renameCategory(oldName, newName);
  Button_GeiClassClick();
  Button_RefreshClick();
}

void TForm1::N3Click() {
  const QString category = Edit_FenLei->currentText();
  const int records = vault_.recordsInCategory(category);
  if (!services_.dialogs.confirm("警告", "您真的要删除该分类吗?\n" + category + "\n其中的 " + QString::number(records) +
                                             " 条记录也将删除 (删除前自动备份)."))
    return;
  if (!vault_.deleteCategory(category, clockText())) {
    services_.dialogs.message("备份数据库失败,分类没有删除.");
    return;
  }
  Button_ClearAllEditClick();
  Button_GeiClassClick();
  // The grid lists the records that remain, as the status bar counts them.
  Button_RefreshClick();
}
