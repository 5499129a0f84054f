// The record grid: the standard listing, picking a record into the form, navigation, the wheel.
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

#include "app/query_table_model.h"
#include "app/tform1.h"
#include "crypto/protected_field.h"
#include "store/statements.h"
#include "widgets/panel_status_bar.h"

void TForm1::Button_RefreshClick() {
  ADOQuery1.close();
  ADOQuery1.clearSql();
  ADOQuery1.addSql(store::sql::SelectAllByUsage());
  ADOQuery1.open();
  applyColumnLayout();
  StatusBar1->setPanelText(0, "共" + QString::number(ADOQuery1.recordCount()) + "条信息");
  Button_ClearAllEditClick();
}

void TForm1::applyColumnLayout() {
  for (int column = 0; column < DataSource1->columnCount(); ++column) DBGrid1->setColumnHidden(column, false);
  // Hidden columns still hold their fields: the form reads them by position.
  for (int column : {1, 2, 5, 6}) DBGrid1->setColumnHidden(column, true);
  const int widths[] = {40, 60, 90, 200, 200, 130};
  for (int column = 0; column < 6; ++column) DBGrid1->setColumnWidth(column, widths[column]);
}

void TForm1::DBGrid1CellClick() {
  // Nothing to pick while no listing is open or it is empty: the form stays as it is.
  if (!ADOQuery1.isOpen() || ADOQuery1.recordCount() == 0) return;
  auto text = [this](int position) { return QString::fromStdString(ADOQuery1.field(position)); };
  Edit_BianHao->setText(text(0));
  selectCategoryInForm(text(1));
  Edit_WangZhi->setText(text(2));
  Edit_BiaoTi->setText(text(3));
  Edit_ZhangHao->setText(text(4));
  Edit_MiMa->setText(reveal(ADOQuery1.field(5)));
  Edit_MiMa_Temp->setText(reveal(ADOQuery1.field(5)));
  Memo_BeiZhu->setPlainText(reveal(ADOQuery1.field(6)));
  showCurrentRecordNumber();
  if (!Edit_BianHao->text().isEmpty()) {
    ADOQuery2.clearSql();
    ADOQuery2.addSql(store::sql::CountUse(Edit_BianHao->text().toStdString()));
    ADOQuery2.execSql();
  }
}

void TForm1::selectCategoryInForm(const QString& category) {
  // The form's list matches names ignoring letter case, as the category lists do.
  Edit_FenLei->setCurrentIndex(Edit_FenLei->findText(category, Qt::MatchFixedString));
}

void TForm1::showCurrentRecordNumber() { StatusBar1->setPanelText(1, QString::number(ADOQuery1.recNo())); }

void TForm1::Button_FirstClick() {
  ADOQuery1.first();
  showCurrentRecordNumber();
}

void TForm1::Button_PriorClick() {
  ADOQuery1.prior();
  showCurrentRecordNumber();
}

void TForm1::Button_NextClick() {
  ADOQuery1.next();
  showCurrentRecordNumber();
}

void TForm1::Button_LastClick() {
  ADOQuery1.last();
  showCurrentRecordNumber();
}

void TForm1::GridWheel(int wheelDelta) {
  if (!ADOQuery1.isOpen()) return;
  // One record per wheel event whatever its distance; towards the user moves down.
  ADOQuery1.moveBy(wheelDelta < 0 ? 1 : -1);
}

void TForm1::Button_Pass_ShowOrHideClick() {
  if (Button_Pass_ShowOrHide->text() == "显示") {
    Button_Pass_ShowOrHide->setText("隐藏");
    Edit_MiMa->setEchoMode(QLineEdit::Normal);
  } else {
    Button_Pass_ShowOrHide->setText("显示");
    Edit_MiMa->setEchoMode(QLineEdit::Password);
  }
}

void TForm1::Button_ClearAllEditClick() {
  // Edit_FenLei keeps its selection (the empty text is not one of its items), and
  // Edit_MiMa_Temp keeps the password picked last.
  Edit_BianHao->clear();
  Edit_WangZhi->clear();
  Edit_BiaoTi->clear();
  Edit_ZhangHao->clear();
  Edit_MiMa->clear();
  Memo_BeiZhu->clear();
}

QString TForm1::protect(const QString& plain) const {
  return QString::fromStdString(crypto::ProtectField(plain.toStdString(), keys_.databaseKey.toStdString()));
}

QString TForm1::reveal(const std::string& cipher) const {
  return QString::fromStdString(crypto::RevealField(cipher, keys_.databaseKey.toStdString()));
}
