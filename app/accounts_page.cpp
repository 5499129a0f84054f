#include "app/accounts_page.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "vault/categories.h"
#include "vault/listing.h"
#include "vault/record_fields.h"
#include "widgets/click_notifier.h"
#include "widgets/concealed_edit.h"
#include "widgets/key_navigation_notifier.h"
#include "widgets/list_box.h"
#include "widgets/named_widgets.h"
#include "widgets/wheel_interceptor.h"

namespace app {

using widgets::button;
using widgets::label;
using widgets::labelledEdit;
using widgets::make;

AccountsPage::AccountsPage(vault::Listing& listing, QWidget* parent) : QWidget(parent), listing_(listing) {
  setObjectName("TabSheet1");
  auto* searchBar = make<QGroupBox>(this, "GroupBox11");
  ComboBoxSeachClass = make<QComboBox>(searchBar, "ComboBoxSeachClass");
  for (const vault::Field field : vault::kSearchedFields) ComboBoxSeachClass->addItem(vault::FieldName(field));
  ComboBoxSeachClass->setCurrentIndex(0);
  ComboBoxSeachClass->setAccessibleName("搜索项");
  searchkeyword = make<QLineEdit>(searchBar, "searchkeyword", "请输入搜索关键词");
  searchkeyword->setAccessibleName("搜索关键词");
  auto* search = button(searchBar, "Button_Search", "搜索");
  Button_Refresh = button(searchBar, "Button_Refresh", "刷新数据");
  Button_GeiClass = button(searchBar, "Button_GeiClass", "刷新分类");
  auto* first = button(searchBar, "Button_First", "<|");
  auto* prior = button(searchBar, "Button_Prior", "<");
  auto* next = button(searchBar, "Button_Next", ">");
  auto* last = button(searchBar, "Button_Last", "|>");
  first->setAccessibleName("第一条");
  prior->setAccessibleName("上一条");
  next->setAccessibleName("下一条");
  last->setAccessibleName("最后一条");
  auto* searchRow = new QHBoxLayout(searchBar);
  searchRow->setContentsMargins(4, 4, 4, 4);
  searchRow->setSpacing(3);
  searchRow->addWidget(ComboBoxSeachClass);
  searchRow->addWidget(searchkeyword, 1);
  search->setFixedWidth(44);
  Button_Refresh->setFixedWidth(64);
  Button_GeiClass->setFixedWidth(64);
  for (QPushButton* b : {search, Button_Refresh, Button_GeiClass}) searchRow->addWidget(b);
  searchRow->addSpacing(6);
  for (QPushButton* b : {first, prior, next, last}) {
    b->setFixedWidth(26);
    searchRow->addWidget(b);
  }

  auto* listAndGrid = make<QGroupBox>(this, "GroupBox9");
  auto* splitter = make<QSplitter>(listAndGrid, "Splitter1", Qt::Horizontal);
  auto* categoryList = make<widgets::ListBox>(splitter, "ListBox_Class");
  // The list's menu is the only way to a first category; an empty database says where it is.
  categoryList->setEmptyHint("右键单击此处添加分类");
  ListBox_Class = categoryList;
  ListBox_Class->setAccessibleName("分类");
  ListBox_Class->setSelectionMode(QAbstractItemView::SingleSelection);
  ListBox_Class->setContextMenuPolicy(Qt::CustomContextMenu);
  PopupMenu2 = new QMenu(this);
  PopupMenu2->setObjectName("PopupMenu2");
  auto* addCategory = PopupMenu2->addAction("添加分类");
  addCategory->setObjectName("N5");
  N4 = PopupMenu2->addAction("修改分类");
  N4->setObjectName("N4");
  N3 = PopupMenu2->addAction("删除选中分类(包含分类所有帐号信息)");
  N3->setObjectName("N3");
  DBGrid1 = make<QTableView>(splitter, "DBGrid1");
  DBGrid1->setAccessibleName("帐号列表");
  DBGrid1->setModel(&listing_);
  DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
  DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  DBGrid1->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  DBGrid1->verticalHeader()->setFixedWidth(14);
  DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({110, 440});
  auto* listAndGridRow = new QHBoxLayout(listAndGrid);
  listAndGridRow->setContentsMargins(4, 4, 4, 4);
  listAndGridRow->addWidget(splitter);

  auto* form = make<QGroupBox>(this, "GroupBox8");
  auto* formGrid = new QGridLayout(form);
  formGrid->setContentsMargins(6, 6, 6, 6);
  formGrid->setHorizontalSpacing(4);
  formGrid->setVerticalSpacing(3);
  auto* labelFenLei = label(form, "LabelFenLei", "分类");
  auto* labelBiaoTi = label(form, "LabelBiaoTi", "标题");
  auto* labelWangZhi = label(form, "LabelWangZhi", "网址");
  auto* labelZhangHao = label(form, "LabelZhangHao", "帐号");
  auto* labelMiMa = label(form, "LabelMiMa", "密码");
  auto* labelBeiZhu = label(form, "LabelBeiZhu", "备注");
  Edit_FenLei = make<QComboBox>(form, "Edit_FenLei");
  Edit_FenLei->setEditable(false);
  labelFenLei->setBuddy(Edit_FenLei);
  Edit_FenLei->setAccessibleName("分类");
  Edit_BiaoTi = labelledEdit(form, "Edit_BiaoTi", labelBiaoTi);
  Edit_WangZhi = labelledEdit(form, "Edit_WangZhi", labelWangZhi);
  Edit_ZhangHao = labelledEdit(form, "Edit_ZhangHao", labelZhangHao);
  Edit_MiMa = labelledEdit(form, "Edit_MiMa", labelMiMa);
  Edit_MiMa->setEchoMode(QLineEdit::Password);
  Memo_BeiZhu = make<QPlainTextEdit>(form, "Memo_BeiZhu");
  Memo_BeiZhu->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo_BeiZhu->setTabChangesFocus(true);
  labelBeiZhu->setBuddy(Memo_BeiZhu);
  Memo_BeiZhu->setAccessibleName("备注");
  auto* openAddress = button(form, "Button10", "预览");
  auto* copyAddress = button(form, "Button4", "复制");
  copyAddress->setAccessibleName("复制网址");
  ButtonCopyZhangHao = button(form, "ButtonCopyZhangHao", "复制");
  ButtonCopyZhangHao->setAccessibleName("复制帐号");
  Button_Pass_ShowOrHide = button(form, "Button_Pass_ShowOrHide", "显示");
  ButtonCopyEdit_MiMa = button(form, "ButtonCopyEdit_MiMa", "复制");
  ButtonCopyEdit_MiMa->setAccessibleName("复制密码");
  auto* generate = button(form, "Button_Generate", "生成");
  generate->setAccessibleName("生成密码");
  auto* addRecord = button(form, "Button1", "添加");
  auto* modifyRecord = button(form, "Button2", "修改");
  auto* deleteRecord = button(form, "Button3", "删除");
  auto* history = button(form, "Button_History", "历史");
  history->setAccessibleName("历史版本");
  auto* labelBianHao = label(form, "LabelBianHao", "编号");
  labelBianHao->hide();
  Edit_BianHao = labelledEdit(form, "Edit_BianHao", labelBianHao);
  Edit_BianHao->setReadOnly(true);
  Edit_BianHao->hide();
  Edit_MiMa_Temp = make<QLineEdit>(form, "Edit_MiMa_Temp");
  widgets::ConcealFromAccessibility(Edit_MiMa_Temp);
  Edit_MiMa_Temp->hide();
  auto* clearAll = button(form, "Button_ClearAllEdit", "清空表单");
  clearAll->hide();

  int row = 0;
  formGrid->addWidget(labelFenLei, row, 0);
  formGrid->addWidget(Edit_FenLei, row++, 1, 1, 3);
  formGrid->addWidget(labelBiaoTi, row, 0);
  formGrid->addWidget(Edit_BiaoTi, row++, 1, 1, 3);
  formGrid->addWidget(labelWangZhi, row, 0);
  formGrid->addWidget(Edit_WangZhi, row, 1);
  formGrid->addWidget(openAddress, row, 2);
  formGrid->addWidget(copyAddress, row++, 3);
  formGrid->addWidget(labelZhangHao, row, 0);
  formGrid->addWidget(Edit_ZhangHao, row, 1);
  formGrid->addWidget(ButtonCopyZhangHao, row++, 3);
  formGrid->addWidget(labelMiMa, row, 0);
  auto* passwordRow = new QHBoxLayout;
  passwordRow->addWidget(Edit_MiMa, 1);
  passwordRow->addWidget(generate);
  formGrid->addLayout(passwordRow, row, 1);
  formGrid->addWidget(Button_Pass_ShowOrHide, row, 2);
  formGrid->addWidget(ButtonCopyEdit_MiMa, row++, 3);
  formGrid->addWidget(labelBeiZhu, row, 0, Qt::AlignTop);
  formGrid->addWidget(Memo_BeiZhu, row, 1, 1, 3);
  auto* actions = new QVBoxLayout;
  actions->addWidget(addRecord);
  actions->addWidget(modifyRecord);
  actions->addWidget(deleteRecord);
  actions->addWidget(history);
  actions->addStretch();
  formGrid->addLayout(actions, 0, 4, row + 1, 1);
  formGrid->setColumnStretch(1, 1);
  for (QPushButton* b :
       {openAddress, copyAddress, ButtonCopyZhangHao, Button_Pass_ShowOrHide, ButtonCopyEdit_MiMa, generate})
    b->setFixedWidth(44);
  Memo_BeiZhu->setFixedHeight(58);

  // The form's keyboard order: the category box comes last although it stands at the top.
  QWidget* order[] = {Edit_BiaoTi, Edit_WangZhi,           Edit_ZhangHao,       Edit_MiMa, openAddress,
                      copyAddress, Button_Pass_ShowOrHide, ButtonCopyEdit_MiMa, generate,  ButtonCopyZhangHao,
                      Memo_BeiZhu, deleteRecord,           modifyRecord,        addRecord, history,
                      Edit_FenLei};
  for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

  auto* tab = new QVBoxLayout(this);
  tab->setContentsMargins(4, 4, 4, 4);
  tab->setSpacing(3);
  tab->addWidget(searchBar);
  tab->addWidget(listAndGrid, 1);
  tab->addWidget(form);

  connect(search, &QPushButton::clicked, this, &AccountsPage::searchClicked);
  auto* keywordClicks = new widgets::ClickNotifier(searchkeyword);
  connect(keywordClicks, &widgets::ClickNotifier::clicked, this, &AccountsPage::keywordClicked);
  connect(keywordClicks, &widgets::ClickNotifier::doubleClicked, this, &AccountsPage::keywordClicked);
  connect(Button_Refresh, &QPushButton::clicked, this, &AccountsPage::refreshClicked);
  connect(Button_GeiClass, &QPushButton::clicked, this, &AccountsPage::rebuildCategoriesClicked);
  connect(first, &QPushButton::clicked, this, &AccountsPage::firstClicked);
  connect(prior, &QPushButton::clicked, this, &AccountsPage::priorClicked);
  connect(next, &QPushButton::clicked, this, &AccountsPage::nextClicked);
  connect(last, &QPushButton::clicked, this, &AccountsPage::lastClicked);
  connect(DBGrid1, &QTableView::clicked, this, &AccountsPage::recordClicked);
  connect(new widgets::WheelInterceptor(DBGrid1->viewport()), &widgets::WheelInterceptor::wheeled, this,
          &AccountsPage::gridWheeled);
  connect(ListBox_Class, &QListWidget::itemClicked, this, &AccountsPage::categoryChosen);
  connect(new widgets::KeyNavigationNotifier(ListBox_Class), &widgets::KeyNavigationNotifier::navigated, this,
          &AccountsPage::categoryChosen);
  connect(ListBox_Class, &QListWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu2->popup(ListBox_Class->viewport()->mapToGlobal(at)); });
  connect(PopupMenu2, &QMenu::aboutToShow, this, &AccountsPage::categoryMenuOpening);
  connect(addCategory, &QAction::triggered, this, &AccountsPage::addCategoryChosen);
  connect(N4, &QAction::triggered, this, &AccountsPage::renameCategoryChosen);
  connect(N3, &QAction::triggered, this, &AccountsPage::deleteCategoryChosen);
  connect(openAddress, &QPushButton::clicked, this, &AccountsPage::openAddressClicked);
  connect(copyAddress, &QPushButton::clicked, this, &AccountsPage::copyAddressClicked);
  connect(ButtonCopyZhangHao, &QPushButton::clicked, this, &AccountsPage::copyAccountClicked);
  connect(Button_Pass_ShowOrHide, &QPushButton::clicked, this, &AccountsPage::showOrHideClicked);
  connect(ButtonCopyEdit_MiMa, &QPushButton::clicked, this, &AccountsPage::copyPasswordClicked);
  connect(generate, &QPushButton::clicked, this, &AccountsPage::generateClicked);
  connect(addRecord, &QPushButton::clicked, this, &AccountsPage::addClicked);
  connect(modifyRecord, &QPushButton::clicked, this, &AccountsPage::modifyClicked);
  connect(deleteRecord, &QPushButton::clicked, this, &AccountsPage::deleteClicked);
  connect(history, &QPushButton::clicked, this, &AccountsPage::historyClicked);
  connect(clearAll, &QPushButton::clicked, this, &AccountsPage::clearFormClicked);
}

void AccountsPage::detachListing() { DBGrid1->setModel(nullptr); }

QString AccountsPage::searchColumn() const { return ComboBoxSeachClass->currentText(); }

QString AccountsPage::keyword() const { return searchkeyword->text(); }

void AccountsPage::clearKeyword() { searchkeyword->clear(); }

void AccountsPage::applyColumnLayout() {
  for (int column = 0; column < listing_.columnCount(); ++column) DBGrid1->setColumnHidden(column, false);
  // Hidden columns still hold their fields: the form reads them by position.
  for (int column : {1, 2, 5, 6}) DBGrid1->setColumnHidden(column, true);
  const int widths[] = {40, 60, 90, 200, 200, 130};
  for (int column = 0; column < 6; ++column) DBGrid1->setColumnWidth(column, widths[column]);
}

int AccountsPage::cursorRow() const { return DBGrid1->currentIndex().row(); }

void AccountsPage::moveCursorTo(int row) {
  if (listing_.rowCount() == 0) return;
  const int column = std::max(0, DBGrid1->currentIndex().column());
  DBGrid1->setCurrentIndex(listing_.index(std::clamp(row, 0, listing_.rowCount() - 1), column));
}

void AccountsPage::clearCategories() {
  ListBox_Class->clear();
  Edit_FenLei->clear();
}

void AccountsPage::showCategories(const QStringList& names) {
  ListBox_Class->addItems(names);
  Edit_FenLei->addItems(names);
  Edit_FenLei->setCurrentIndex(-1);
}

std::optional<QString> AccountsPage::currentListCategory() const {
  if (ListBox_Class->count() == 0 || !ListBox_Class->currentItem()) return std::nullopt;
  return ListBox_Class->currentItem()->text();
}

std::optional<QString> AccountsPage::highlightedCategory() const {
  const auto highlighted = ListBox_Class->selectedItems();
  if (highlighted.isEmpty()) return std::nullopt;
  return highlighted.front()->text();
}

QStringList AccountsPage::listedCategories() const {
  QStringList names;
  for (int i = 0; i < ListBox_Class->count(); ++i) names << ListBox_Class->item(i)->text();
  return names;
}

void AccountsPage::enableCategoryChanges(bool enabled) {
  N4->setEnabled(enabled);
  N3->setEnabled(enabled);
}

void AccountsPage::selectCategory(const QString& category) {
  QStringList names;
  for (int i = 0; i < Edit_FenLei->count(); ++i) names << Edit_FenLei->itemText(i);
  Edit_FenLei->setCurrentIndex(static_cast<int>(vault::FindCategory(names, category)));
}

QString AccountsPage::formCategory() const { return Edit_FenLei->currentText(); }

vault::Record AccountsPage::record() const {
  return {Edit_BianHao->text(),  Edit_FenLei->currentText(), Edit_WangZhi->text(),      Edit_BiaoTi->text(),
          Edit_ZhangHao->text(), Edit_MiMa->text(),          Memo_BeiZhu->toPlainText()};
}

void AccountsPage::showRecord(const vault::Record& record) {
  Edit_BianHao->setText(record.number);
  selectCategory(record.category);
  Edit_WangZhi->setText(record.address);
  Edit_BiaoTi->setText(record.title);
  Edit_ZhangHao->setText(record.account);
  Edit_MiMa->setText(record.password);
  Edit_MiMa_Temp->setText(record.password);
  Memo_BeiZhu->setPlainText(record.note);
}

QString AccountsPage::recordNumber() const { return Edit_BianHao->text(); }

QString AccountsPage::account() const { return Edit_ZhangHao->text(); }

QString AccountsPage::address() const { return Edit_WangZhi->text(); }

QString AccountsPage::pickedPassword() const { return Edit_MiMa_Temp->text(); }

void AccountsPage::forgetPickedPassword() { Edit_MiMa_Temp->clear(); }

void AccountsPage::showPassword(const QString& password) { Edit_MiMa->setText(password); }

void AccountsPage::clearForm() {
  // Edit_FenLei keeps its selection (the empty text is not one of its items), and
  // Edit_MiMa_Temp keeps the password picked last.
  Edit_BianHao->clear();
  Edit_WangZhi->clear();
  Edit_BiaoTi->clear();
  Edit_ZhangHao->clear();
  Edit_MiMa->clear();
  Memo_BeiZhu->clear();
}

bool AccountsPage::passwordMasked() const { return Button_Pass_ShowOrHide->text() == "显示"; }

void AccountsPage::maskPassword() {
  Button_Pass_ShowOrHide->setText("显示");
  Edit_MiMa->setEchoMode(QLineEdit::Password);
}

void AccountsPage::unmaskPassword() {
  Button_Pass_ShowOrHide->setText("隐藏");
  Edit_MiMa->setEchoMode(QLineEdit::Normal);
}

QString AccountsPage::selectForCopy(Copied which) {
  QLineEdit* edit = which == Copied::Address ? Edit_WangZhi : which == Copied::Account ? Edit_ZhangHao : Edit_MiMa_Temp;
  edit->selectAll();
  return edit->text();
}

void AccountsPage::pressCopyAccount() { ButtonCopyZhangHao->click(); }

void AccountsPage::pressCopyPassword() { ButtonCopyEdit_MiMa->click(); }

void AccountsPage::pressRefresh() { Button_Refresh->click(); }

void AccountsPage::pressRebuildCategories() { Button_GeiClass->click(); }

}  // namespace app
