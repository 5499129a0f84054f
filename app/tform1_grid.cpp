// The record grid: the standard listing, picking a record into the form, navigation, the wheel.
#include "app/accounts_page.h"
#include "app/tform1.h"
#include "login/tform2.h"
#include "widgets/panel_status_bar.h"

namespace app {

void TForm1::Button_RefreshClick() {
  const int count = vault_.listByUsage();
  accountsPage_->applyColumnLayout();
  StatusBar1->setPanelText(0, "共" + QString::number(count) + "条信息");
  Button_ClearAllEditClick();
}

void TForm1::DBGrid1CellClick() {
  // Nothing to pick while no listing is open or it is empty: the form stays as it is.
  if (!DataSource1->isOpen() || DataSource1->count() == 0 || accountsPage_->cursorRow() < 0) return;
  const vault::Record record = vault_.listedRecord(accountsPage_->cursorRow());
  accountsPage_->maskPassword();  // "显示" was meant for the record shown then
  accountsPage_->showRecord(record);
  showCurrentRecordNumber();
  if (!accountsPage_->recordNumber().isEmpty()) vault_.countUse(accountsPage_->recordNumber());
  login_->armHotKeys();
}

void TForm1::showCurrentRecordNumber() { StatusBar1->setPanelText(1, QString::number(accountsPage_->cursorRow() + 1)); }

void TForm1::Button_FirstClick() {
  accountsPage_->moveCursorTo(0);
  showCurrentRecordNumber();
}

void TForm1::Button_PriorClick() {
  accountsPage_->moveCursorTo(accountsPage_->cursorRow() - 1);
  showCurrentRecordNumber();
}

void TForm1::Button_NextClick() {
  accountsPage_->moveCursorTo(accountsPage_->cursorRow() + 1);
  showCurrentRecordNumber();
}

void TForm1::Button_LastClick() {
  accountsPage_->moveCursorTo(DataSource1->rowCount() - 1);
  showCurrentRecordNumber();
}

void TForm1::GridWheel(int wheelDelta) {
  if (!DataSource1->isOpen()) return;
  // One record per wheel event whatever its distance; towards the user moves down.
  accountsPage_->moveCursorTo(accountsPage_->cursorRow() + (wheelDelta < 0 ? 1 : -1));
}

void TForm1::Button_Pass_ShowOrHideClick() {
  if (accountsPage_->passwordMasked()) {
    accountsPage_->unmaskPassword();
  } else {
    accountsPage_->maskPassword();
  }
}

void TForm1::Button_ClearAllEditClick() { accountsPage_->clearForm(); }

}  // namespace app
