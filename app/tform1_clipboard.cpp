// The copy buttons and the timed emptying of the clipboard.
#include <QTimer>

#include "app/accounts_page.h"
#include "app/settings_page.h"
#include "app/tform1.h"
#include "input/clipboard.h"
#include "widgets/panel_status_bar.h"

namespace app {

void TForm1::copyToClipboard(const QString& text) {
  input::SharedClipboard().copySecret(text);
  // A countdown that already runs is not restarted: everything copied is emptied with the first.
  if (!Timer_ClearClipbrd->isActive()) Timer_ClearClipbrd->start();
}

void TForm1::ButtonCopyZhangHaoClick() { copyToClipboard(accountsPage_->selectForCopy(AccountsPage::Copied::Account)); }

void TForm1::ButtonCopyEdit_MiMaClick() {
  copyToClipboard(accountsPage_->selectForCopy(AccountsPage::Copied::PickedPassword));
}

void TForm1::Button4Click() { copyToClipboard(accountsPage_->selectForCopy(AccountsPage::Copied::Address)); }

void TForm1::Timer_ClearClipbrdTimer() {
  input::SharedClipboard().Clear();
  Timer_ClearClipbrd->stop();
}

QString TForm1::autoFillAccount() const { return accountsPage_->account(); }

QString TForm1::autoFillPassword() const { return accountsPage_->pickedPassword(); }

void TForm1::copyAccountToClipboard() { accountsPage_->pressCopyAccount(); }

void TForm1::copyPasswordToClipboard() { accountsPage_->pressCopyPassword(); }

bool TForm1::pasteStyleSelected() const { return settingsPage_->autoFillMode() == settings::AutoFillMode::Paste; }

void TForm1::showStatus(const QString& text) { StatusBar1->setPanelText(0, text); }

void TForm1::noteNow(const QString& text) {
  showStatus(text);
  StatusBar1->repaint();
}

}  // namespace app
