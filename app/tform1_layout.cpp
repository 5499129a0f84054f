// Builds the controls of the main window; behaviour lives in the other tform1_*.cpp files.
#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/about_page.h"
#include "app/accounts_page.h"
#include "app/advanced_page.h"
#include "app/maker_info.h"
#include "app/program_icon.h"
#include "app/settings_page.h"
#include "app/tform1.h"
#include "app/tray_icon.h"
#include "widgets/named_widgets.h"
#include "widgets/panel_status_bar.h"

namespace app {

namespace {

using widgets::button;
using widgets::label;
using widgets::make;

QPixmap bannerPicture(const QSize& size) {
  QPixmap picture(size);
  QPainter painter(&picture);
  QLinearGradient gradient(0, 0, size.width(), 0);
  gradient.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
  gradient.setColorAt(1, QColor(0x4f, 0x8f, 0xc0));
  painter.fillRect(picture.rect(), gradient);
  painter.drawPixmap(12, (size.height() - 40) / 2, ProgramIcon().pixmap(40, 40));
  QFont font = painter.font();
  font.setPixelSize(22);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(64, 0, size.width() - 64, size.height()), Qt::AlignVCenter | Qt::AlignLeft, maker::kTitle);
  return picture;
}

}  // namespace

void TForm1::buildWindow() {
  setObjectName("TForm1");
  setWindowTitle(maker::kTitle);
  setWindowIcon(ProgramIcon());
  setFixedSize(581, 595);

  Image2 = make<QLabel>(this, "Image2");
  Image2->setFixedHeight(56);
  Image2->setPixmap(bannerPicture(QSize(581, 56)));

  PageControl1 = make<QTabWidget>(this, "PageControl1");
  DataSource1 = &vault_.listing();
  DataSource1->setObjectName("DataSource1");
  accountsPage_ = new AccountsPage(*DataSource1, this);
  settingsPage_ = new SettingsPage(services_.beeper, this);
  advancedPage_ = new AdvancedPage(this, services_.dialogs, vault_, keys_, *fileWork_,
                                   [this](const QString& text) { noteNow(text); });
  aboutPage_ = new AboutPage(this);
  PageControl1->addTab(accountsPage_, "帐号管理");
  PageControl1->addTab(settingsPage_, "软件设置");
  PageControl1->addTab(advancedPage_, "高级设置");
  PageControl1->addTab(aboutPage_, "关于我们");
  PageControl1->setCurrentIndex(0);
  shownTab_ = accountsPage_;

  Label22 = label(this, "Label22", "小技巧:ctrl + ← 自动输入帐号 Ctrl + → 自动输入密码.");
  Label22->setStyleSheet("color: red;");
  Button8 = button(this, "Button8", maker::kBrand);
  Button_HIde = button(this, "Button_HIde", "最小化");
  StatusBar1 = new widgets::PanelStatusBar({300, 50, 150}, this);
  StatusBar1->setObjectName("StatusBar1");
  StatusBar1->setPanelText(2, maker::kBrand);

  Button_CheckEnCrypt = button(this, "Button_CheckEnCrypt", "设置随机加密码");
  Button_CheckEnCrypt->hide();
  Button_CheckLogin = button(this, "Button_CheckLogin", "登录窗口");
  Button_CheckLogin->hide();

  auto* bottom = new QHBoxLayout;
  bottom->setContentsMargins(6, 0, 6, 0);
  bottom->addWidget(Label22, 1);
  bottom->addWidget(Button8);
  bottom->addWidget(Button_HIde);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(3);
  outer->addWidget(Image2);
  auto* pages = new QVBoxLayout;
  pages->setContentsMargins(4, 0, 4, 0);
  pages->addWidget(PageControl1);
  outer->addLayout(pages, 1);
  outer->addLayout(bottom);
  outer->addWidget(StatusBar1);

  buildTray();
  buildTimers();
}

void TForm1::buildTray() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  Aboutme = PopupMenu1->addAction("检测更新");
  Aboutme->setObjectName("Aboutme");
  PopupMenu1->addSeparator();
  ShowME = PopupMenu1->addAction("显示窗口");
  ShowME->setObjectName("ShowME");
  HideME = PopupMenu1->addAction("隐藏窗口");
  HideME->setObjectName("HideME");
  PopupMenu1->addSeparator();
  CloseMe = PopupMenu1->addAction("退出程序");
  CloseMe->setObjectName("CloseMe");
  TrayIcon1 = new TrayIcon(ProgramIcon(), maker::kTitle, PopupMenu1, this);
  TrayIcon1->setObjectName("TrayIcon1");
}

void TForm1::buildTimers() {
  auto timer = [this](const char* name, int interval) {
    auto* t = new QTimer(this);
    t->setObjectName(name);
    t->setInterval(interval);
    return t;
  };
  Timer1 = timer("Timer1", 1000);
  Timer_CheckLogin = timer("Timer_CheckLogin", 1000);
  Timer_CloseMe = timer("Timer_CloseMe", 1000);
  Timer_ClearClipbrd = timer("Timer_ClearClipbrd", 60000);
}

}  // namespace app
