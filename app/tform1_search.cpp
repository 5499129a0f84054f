// Finding records by a keyword in the chosen column.
#include <QComboBox>
#include <QLineEdit>

#include "app/tform1.h"
#include "platform/dialogs.h"
#include "widgets/panel_status_bar.h"

void TForm1::Button_SearchClick() {
  const QString keyword = searchkeyword->text();
  if (keyword.isEmpty()) {
    services_.dialogs.message("请输入搜索关键词！");
    return;
  }
  const int hits = vault_.listMatching(ComboBoxSeachClass->currentText(), keyword);
  StatusBar1->setPanelText(0, "关于" + keyword + "的信息,共搜索到" + QString::number(hits) + "条");
  if (hits == 0) {
    services_.dialogs.message("对不起没有找到相关信息！");
    vault_.listAll();
  }
  applyColumnLayout();
  searchkeyword->clear();
}

void TForm1::searchkeywordClick() { searchkeyword->clear(); }
