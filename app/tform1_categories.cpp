// Categories: the lists rebuilt from the records, listing one category, add, rename, delete.
#include "app/accounts_page.h"
#include "app/tform1.h"
#include "platform/dialogs.h"
#include "vault/categories.h"
#include "widgets/panel_status_bar.h"

namespace app {

void TForm1::Button_GeiClassClick() {
  accountsPage_->clearCategories();
  Button_RefreshClick();
  accountsPage_->showCategories(vault_.categoriesOfListing());
}

void TForm1::ListBox_ClassClick() {
  const std::optional<QString> current = accountsPage_->currentListCategory();
  if (!current) {
    Button_ClearAllEditClick();
    return;
  }
  const QString& category = *current;
  const int count = vault_.listCategory(category);
  StatusBar1->setPanelText(0, category + "分类下共有" + QString::number(count) + "条");
  accountsPage_->selectCategory(category);
  if (count == 0) {
    services_.dialogs.message("对不起该分类下还没有信息");
    vault_.listAllUnordered();
  }
  accountsPage_->applyColumnLayout();
  Button_ClearAllEditClick();
}

void TForm1::PopupMenu2Popup() {
  // Rename and delete act on the category the user sees highlighted, never on another.
  const std::optional<QString> highlighted = accountsPage_->highlightedCategory();
  accountsPage_->enableCategoryChanges(highlighted.has_value());
  if (highlighted) accountsPage_->selectCategory(*highlighted);
}

void TForm1::N5Click() {
  const QString name = services_.dialogs.input("请输入分类", "分类", QString());
  if (name.isEmpty()) return;
  if (QString refusal = vault::NewCategoryNameProblem(name, accountsPage_->listedCategories()); !refusal.isEmpty()) {
    services_.dialogs.message(refusal);
    return;
  }
  vault_.addCategory(name);
  services_.dialogs.message("分类添加成功.");
  Button_GeiClassClick();
  Button_RefreshClick();
}

void TForm1::N4Click() {
  const QString oldName = accountsPage_->formCategory();
  if (oldName.isEmpty()) {
    services_.dialogs.message("请选中要修复的分类！");
    return;
  }
  const QString newName = services_.dialogs.input("请输入分类", "分类", oldName);
  if (newName.isEmpty()) return;
  if (QString refusal = vault::NewCategoryNameProblem(newName, accountsPage_->listedCategories()); !refusal.isEmpty()) {
    services_.dialogs.message(refusal);
    return;
  }
  vault_.renameCategory(oldName, newName);
  Button_GeiClassClick();
  Button_RefreshClick();
}

void TForm1::N3Click() {
  const QString category = accountsPage_->formCategory();
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

}  // namespace app
