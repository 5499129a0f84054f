// Finding records by a keyword in the chosen column.
#include "app/accounts_page.h"
#include "app/tform1.h"
#include "platform/dialogs.h"
#include "widgets/panel_status_bar.h"

namespace app {

void TForm1::Button_SearchClick() {
  const QString keyword = accountsPage_->keyword();
  if (keyword.isEmpty()) {
    services_.dialogs.message("请输入搜索关键词！");
    return;
  }
  const int hits = vault_.listMatching(accountsPage_->searchColumn(), keyword);
  StatusBar1->setPanelText(0, "关于" + keyword + "的信息,共搜索到" + QString::number(hits) + "条");
  if (hits == 0) {
    services_.dialogs.message("对不起没有找到相关信息！");
    vault_.listAll();
  }
  accountsPage_->applyColumnLayout();
  accountsPage_->clearKeyword();
}

void TForm1::searchkeywordClick() { accountsPage_->clearKeyword(); }

}  // namespace app
