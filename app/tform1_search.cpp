// Finding records by a keyword in the chosen column.
#include <QComboBox>
#include <QLineEdit>

#include "app/note_search.h"
#include "app/tform1.h"
#include "platform/dialogs.h"
#include "store/statements.h"
#include "widgets/panel_status_bar.h"

namespace {
const QString kNoteColumn = "备注";
}

void TForm1::Button_SearchClick() {
  const QString keyword = searchkeyword->text();
  if (keyword.isEmpty()) {
    services_.dialogs.message("请输入搜索关键词！");
    return;
  }
  const QString column = ComboBoxSeachClass->currentText();
  ADOQuery1.close();
  ADOQuery1.clearSql();
  if (column == kNoteColumn) {
    ADOQuery1.addSql(store::sql::SelectRecordsNumbered(notesContaining(keyword)));
  } else {
    ADOQuery1.addSql(store::sql::SelectLike(column.toStdString(), keyword.toStdString()));
  }
  ADOQuery1.open();
  const int hits = ADOQuery1.recordCount();
  StatusBar1->setPanelText(0, "关于" + keyword + "的信息,共搜索到" + QString::number(hits) + "条");
  if (hits == 0) {
    services_.dialogs.message("对不起没有找到相关信息！");
    ADOQuery1.close();
    ADOQuery1.clearSql();
    ADOQuery1.addSql(store::sql::SelectAll());
    ADOQuery1.open();
  }
  applyColumnLayout();
  searchkeyword->clear();
}

std::vector<std::string> TForm1::notesContaining(const QString& keyword) {
  // A separate query: the main query's listing is replaced only by the hits.
  store::Query notes(ADOConnection1);
  notes.addSql(store::sql::SelectNotes());
  notes.open();
  return NumbersOfNotesContaining(notes.rows(), keys_.databaseKey.toStdString(), keyword);
}

void TForm1::searchkeywordClick() { searchkeyword->clear(); }
