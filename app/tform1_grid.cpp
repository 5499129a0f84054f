// The record grid: the standard listing, picking a record into the form, navigation, the wheel.
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <algorithm>

#include "app/tform1.h"
#include "login/tform2.h"
#include "widgets/panel_status_bar.h"

void TForm1::Button_RefreshClick() {
  const int count = vault_.listByUsage();
  applyColumnLayout();
  StatusBar1->setPanelText(0, "共" + QString::number(count) + "条信息");
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
  if (!DataSource1->isOpen() || DataSource1->count() == 0 || cursorRow() < 0) return;
  const vault::Record record = vault_.listedRecord(cursorRow());
  maskPassword();  // "显示" was meant for the record shown then
  Edit_BianHao->setText(record.number);
  selectCategoryInForm(record.category);
  Edit_WangZhi->setText(record.address);
  Edit_BiaoTi->setText(record.title);
  Edit_ZhangHao->setText(record.account);
  Edit_MiMa->setText(record.password);
  Edit_MiMa_Temp->setText(record.password);
  Memo_BeiZhu->setPlainText(record.note);
  showCurrentRecordNumber();
  if (!Edit_BianHao->text().isEmpty()) vault_.countUse(Edit_BianHao->text());
  login_->armHotKeys();
}

void TForm1::selectCategoryInForm(const QString& category) {
  // The form's list matches names ignoring letter case, as the category lists do.
  Edit_FenLei->setCurrentIndex(Edit_FenLei->findText(category, Qt::MatchFixedString));
}

int TForm1::cursorRow() const { return DBGrid1->currentIndex().row(); }

void TForm1::moveCursorTo(int row) {
  if (DataSource1->rowCount() == 0) return;
  const int column = std::max(0, DBGrid1->currentIndex().column());
  DBGrid1->setCurrentIndex(DataSource1->index(std::clamp(row, 0, DataSource1->rowCount() - 1), column));
}

void TForm1::showCurrentRecordNumber() { StatusBar1->setPanelText(1, QString::number(cursorRow() + 1)); }

void TForm1::Button_FirstClick() {
  moveCursorTo(0);
  showCurrentRecordNumber();
}

void TForm1::Button_PriorClick() {
  moveCursorTo(cursorRow() - 1);
  showCurrentRecordNumber();
}

void TForm1::Button_NextClick() {
  moveCursorTo(cursorRow() + 1);
  showCurrentRecordNumber();
}

void TForm1::Button_LastClick() {
  moveCursorTo(DataSource1->rowCount() - 1);
  showCurrentRecordNumber();
}

void TForm1::GridWheel(int wheelDelta) {
  if (!DataSource1->isOpen()) return;
  // One record per wheel event whatever its distance; towards the user moves down.
  moveCursorTo(cursorRow() + (wheelDelta < 0 ? 1 : -1));
}

void TForm1::Button_Pass_ShowOrHideClick() {
  if (Button_Pass_ShowOrHide->text() == "显示") {
    Button_Pass_ShowOrHide->setText("隐藏");
    Edit_MiMa->setEchoMode(QLineEdit::Normal);
  } else {
    maskPassword();
  }
}

void TForm1::maskPassword() {
  Button_Pass_ShowOrHide->setText("显示");
  Edit_MiMa->setEchoMode(QLineEdit::Password);
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
