// The copy buttons and the timed emptying of the clipboard.
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/settings_page.h"
#include "app/tform1.h"
#include "input/clipboard.h"
#include "widgets/panel_status_bar.h"

void TForm1::copyEditToClipboard(QLineEdit* edit) {
  edit->selectAll();
  input::SharedClipboard().copySecret(edit->text());
  // A countdown that already runs is not restarted: everything copied is emptied with the first.
  if (!Timer_ClearClipbrd->isActive()) Timer_ClearClipbrd->start();
}

void TForm1::ButtonCopyZhangHaoClick() { copyEditToClipboard(Edit_ZhangHao); }

void TForm1::ButtonCopyEdit_MiMaClick() { copyEditToClipboard(Edit_MiMa_Temp); }

void TForm1::Button4Click() { copyEditToClipboard(Edit_WangZhi); }

void TForm1::Timer_ClearClipbrdTimer() {
  input::SharedClipboard().Clear();
  Timer_ClearClipbrd->stop();
}

QString TForm1::autoFillAccount() const { return Edit_ZhangHao->text(); }

QString TForm1::autoFillPassword() const { return Edit_MiMa_Temp->text(); }

void TForm1::copyAccountToClipboard() { ButtonCopyZhangHao->click(); }

void TForm1::copyPasswordToClipboard() { ButtonCopyEdit_MiMa->click(); }

bool TForm1::pasteStyleSelected() const { return settingsPage_->autoFillMode() == AutoFillMode::Paste; }

void TForm1::showStatus(const QString& text) { StatusBar1->setPanelText(0, text); }

void TForm1::noteNow(const QString& text) {
  showStatus(text);
  StatusBar1->repaint();
}
