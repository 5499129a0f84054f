// Builds the controls of the main window; behaviour lives in the other tform1_*.cpp files.
#include <QAction>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "app/about_page.h"
#include "app/advanced_page.h"
#include "app/maker_info.h"
#include "app/program_icon.h"
#include "app/settings_page.h"
#include "app/tform1.h"
#include "app/tray_icon.h"
#include "widgets/concealed_edit.h"
#include "widgets/list_box.h"
#include "widgets/named_widgets.h"
#include "widgets/panel_status_bar.h"

namespace {

using widgets::button;
using widgets::label;
using widgets::labelledEdit;
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
  TabSheet1 = make<QWidget>(this, "TabSheet1");
  buildAccountsTab();
  settingsPage_ = new SettingsPage(services_.beeper, this);
  advancedPage_ = new AdvancedPage(this, services_.dialogs, vault_, keys_, *fileWork_,
                                   [this](const QString& text) { noteNow(text); });
  aboutPage_ = new AboutPage(this);
  PageControl1->addTab(TabSheet1, "帐号管理");
  PageControl1->addTab(settingsPage_, "软件设置");
  PageControl1->addTab(advancedPage_, "高级设置");
  PageControl1->addTab(aboutPage_, "关于我们");
  PageControl1->setCurrentIndex(0);
  shownTab_ = TabSheet1;

  Label22 = label(this, "Label22", "小技巧:ctrl + ← 自动输入帐号 Ctrl + → 自动输入密码.");
  Label22->setStyleSheet("color: red;");
  Button8 = button(this, "Button8", maker::kBrand);
  Button_HIde = button(this, "Button_HIde", "最小化");
  StatusBar1 = new PanelStatusBar({300, 50, 150}, this);
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

void TForm1::buildAccountsTab() {
  GroupBox11 = make<QGroupBox>(TabSheet1, "GroupBox11");
  ComboBoxSeachClass = make<QComboBox>(GroupBox11, "ComboBoxSeachClass");
  ComboBoxSeachClass->addItems({"标题", "网址", "帐号", "备注"});
  ComboBoxSeachClass->setCurrentIndex(0);
  ComboBoxSeachClass->setAccessibleName("搜索项");
  searchkeyword = make<QLineEdit>(GroupBox11, "searchkeyword", "请输入搜索关键词");
  searchkeyword->setAccessibleName("搜索关键词");
  Button_Search = button(GroupBox11, "Button_Search", "搜索");
  Button_Refresh = button(GroupBox11, "Button_Refresh", "刷新数据");
  Button_GeiClass = button(GroupBox11, "Button_GeiClass", "刷新分类");
  Button_First = button(GroupBox11, "Button_First", "<|");
  Button_Prior = button(GroupBox11, "Button_Prior", "<");
  Button_Next = button(GroupBox11, "Button_Next", ">");
  Button_Last = button(GroupBox11, "Button_Last", "|>");
  Button_First->setAccessibleName("第一条");
  Button_Prior->setAccessibleName("上一条");
  Button_Next->setAccessibleName("下一条");
  Button_Last->setAccessibleName("最后一条");
  auto* searchRow = new QHBoxLayout(GroupBox11);
  searchRow->setContentsMargins(4, 4, 4, 4);
  searchRow->setSpacing(3);
  searchRow->addWidget(ComboBoxSeachClass);
  searchRow->addWidget(searchkeyword, 1);
  Button_Search->setFixedWidth(44);
  Button_Refresh->setFixedWidth(64);
  Button_GeiClass->setFixedWidth(64);
  for (QPushButton* b : {Button_Search, Button_Refresh, Button_GeiClass}) searchRow->addWidget(b);
  searchRow->addSpacing(6);
  for (QPushButton* b : {Button_First, Button_Prior, Button_Next, Button_Last}) {
    b->setFixedWidth(26);
    searchRow->addWidget(b);
  }

  GroupBox9 = make<QGroupBox>(TabSheet1, "GroupBox9");
  Splitter1 = make<QSplitter>(GroupBox9, "Splitter1", Qt::Horizontal);
  auto* categoryList = make<ListBox>(Splitter1, "ListBox_Class");
  // The list's menu is the only way to a first category; an empty database says where it is.
  categoryList->setEmptyHint("右键单击此处添加分类");
  ListBox_Class = categoryList;
  ListBox_Class->setAccessibleName("分类");
  ListBox_Class->setSelectionMode(QAbstractItemView::SingleSelection);
  ListBox_Class->setContextMenuPolicy(Qt::CustomContextMenu);
  PopupMenu2 = new QMenu(this);
  PopupMenu2->setObjectName("PopupMenu2");
  N5 = PopupMenu2->addAction("添加分类");
  N5->setObjectName("N5");
  N4 = PopupMenu2->addAction("修改分类");
  N4->setObjectName("N4");
  N3 = PopupMenu2->addAction("删除选中分类(包含分类所有帐号信息)");
  N3->setObjectName("N3");
  DBGrid1 = make<QTableView>(Splitter1, "DBGrid1");
  DBGrid1->setAccessibleName("帐号列表");
  DataSource1 = &vault_.listing();
  DataSource1->setObjectName("DataSource1");
  DBGrid1->setModel(DataSource1);
  DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
  DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  DBGrid1->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  DBGrid1->verticalHeader()->setFixedWidth(14);
  DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  DBGrid1->verticalHeader()->setStyleSheet("QHeaderView::section { color: transparent; }");
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({110, 440});
  auto* listAndGrid = new QHBoxLayout(GroupBox9);
  listAndGrid->setContentsMargins(4, 4, 4, 4);
  listAndGrid->addWidget(Splitter1);

  GroupBox8 = make<QGroupBox>(TabSheet1, "GroupBox8");
  auto* formGrid = new QGridLayout(GroupBox8);
  formGrid->setContentsMargins(6, 6, 6, 6);
  formGrid->setHorizontalSpacing(4);
  formGrid->setVerticalSpacing(3);
  auto* labelFenLei = label(GroupBox8, "LabelFenLei", "分类");
  auto* labelBiaoTi = label(GroupBox8, "LabelBiaoTi", "标题");
  auto* labelWangZhi = label(GroupBox8, "LabelWangZhi", "网址");
  auto* labelZhangHao = label(GroupBox8, "LabelZhangHao", "帐号");
  auto* labelMiMa = label(GroupBox8, "LabelMiMa", "密码");
  auto* labelBeiZhu = label(GroupBox8, "LabelBeiZhu", "备注");
  Edit_FenLei = make<QComboBox>(GroupBox8, "Edit_FenLei");
  Edit_FenLei->setEditable(false);
  labelFenLei->setBuddy(Edit_FenLei);
  Edit_FenLei->setAccessibleName("分类");
  Edit_BiaoTi = labelledEdit(GroupBox8, "Edit_BiaoTi", labelBiaoTi);
  Edit_WangZhi = labelledEdit(GroupBox8, "Edit_WangZhi", labelWangZhi);
  Edit_ZhangHao = labelledEdit(GroupBox8, "Edit_ZhangHao", labelZhangHao);
  Edit_MiMa = labelledEdit(GroupBox8, "Edit_MiMa", labelMiMa);
  Edit_MiMa->setEchoMode(QLineEdit::Password);
  Memo_BeiZhu = make<QPlainTextEdit>(GroupBox8, "Memo_BeiZhu");
  Memo_BeiZhu->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo_BeiZhu->setTabChangesFocus(true);
  labelBeiZhu->setBuddy(Memo_BeiZhu);
  Memo_BeiZhu->setAccessibleName("备注");
  Button10 = button(GroupBox8, "Button10", "预览");
  Button4 = button(GroupBox8, "Button4", "复制");
  Button4->setAccessibleName("复制网址");
  ButtonCopyZhangHao = button(GroupBox8, "ButtonCopyZhangHao", "复制");
  ButtonCopyZhangHao->setAccessibleName("复制帐号");
  Button_Pass_ShowOrHide = button(GroupBox8, "Button_Pass_ShowOrHide", "显示");
  ButtonCopyEdit_MiMa = button(GroupBox8, "ButtonCopyEdit_MiMa", "复制");
  ButtonCopyEdit_MiMa->setAccessibleName("复制密码");
  Button_Generate = button(GroupBox8, "Button_Generate", "生成");
  Button_Generate->setAccessibleName("生成密码");
  Button1 = button(GroupBox8, "Button1", "添加");
  Button2 = button(GroupBox8, "Button2", "修改");
  Button3 = button(GroupBox8, "Button3", "删除");
  Button_History = button(GroupBox8, "Button_History", "历史");
  Button_History->setAccessibleName("历史版本");
  LabelBianHao = label(GroupBox8, "LabelBianHao", "编号");
  LabelBianHao->hide();
  Edit_BianHao = labelledEdit(GroupBox8, "Edit_BianHao", LabelBianHao);
  Edit_BianHao->setReadOnly(true);
  Edit_BianHao->hide();
  Edit_MiMa_Temp = make<QLineEdit>(GroupBox8, "Edit_MiMa_Temp");
  ConcealFromAccessibility(Edit_MiMa_Temp);
  Edit_MiMa_Temp->hide();
  Button_ClearAllEdit = button(GroupBox8, "Button_ClearAllEdit", "清空表单");
  Button_ClearAllEdit->hide();

  int row = 0;
  formGrid->addWidget(labelFenLei, row, 0);
  formGrid->addWidget(Edit_FenLei, row++, 1, 1, 3);
  formGrid->addWidget(labelBiaoTi, row, 0);
  formGrid->addWidget(Edit_BiaoTi, row++, 1, 1, 3);
  formGrid->addWidget(labelWangZhi, row, 0);
  formGrid->addWidget(Edit_WangZhi, row, 1);
  formGrid->addWidget(Button10, row, 2);
  formGrid->addWidget(Button4, row++, 3);
  formGrid->addWidget(labelZhangHao, row, 0);
  formGrid->addWidget(Edit_ZhangHao, row, 1);
  formGrid->addWidget(ButtonCopyZhangHao, row++, 3);
  formGrid->addWidget(labelMiMa, row, 0);
  auto* passwordRow = new QHBoxLayout;
  passwordRow->addWidget(Edit_MiMa, 1);
  passwordRow->addWidget(Button_Generate);
  formGrid->addLayout(passwordRow, row, 1);
  formGrid->addWidget(Button_Pass_ShowOrHide, row, 2);
  formGrid->addWidget(ButtonCopyEdit_MiMa, row++, 3);
  formGrid->addWidget(labelBeiZhu, row, 0, Qt::AlignTop);
  formGrid->addWidget(Memo_BeiZhu, row, 1, 1, 3);
  auto* actions = new QVBoxLayout;
  actions->addWidget(Button1);
  actions->addWidget(Button2);
  actions->addWidget(Button3);
  actions->addWidget(Button_History);
  actions->addStretch();
  formGrid->addLayout(actions, 0, 4, row + 1, 1);
  formGrid->setColumnStretch(1, 1);
  for (QPushButton* b :
       {Button10, Button4, ButtonCopyZhangHao, Button_Pass_ShowOrHide, ButtonCopyEdit_MiMa, Button_Generate})
    b->setFixedWidth(44);
  Memo_BeiZhu->setFixedHeight(58);

  // The form's keyboard order: the category box comes last although it stands at the top.
  QWidget* order[] = {
      Edit_BiaoTi,         Edit_WangZhi,    Edit_ZhangHao,      Edit_MiMa,   Button10, Button4, Button_Pass_ShowOrHide,
      ButtonCopyEdit_MiMa, Button_Generate, ButtonCopyZhangHao, Memo_BeiZhu, Button3,  Button2, Button1,
      Button_History,      Edit_FenLei};
  for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

  auto* tab = new QVBoxLayout(TabSheet1);
  tab->setContentsMargins(4, 4, 4, 4);
  tab->setSpacing(3);
  tab->addWidget(GroupBox11);
  tab->addWidget(GroupBox9, 1);
  tab->addWidget(GroupBox8);
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
