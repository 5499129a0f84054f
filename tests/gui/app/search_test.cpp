#include <gtest/gtest.h>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "tests/gui/app/app_harness.h"
#include "vault/listing.h"

namespace {

void startWithAccounts(AppHarness& app) {
  app.makeDatabase();
  app.startAndLogin();
  app.addCategory("常用网站");
  app.exec("delete from data");
  app.addRecord("常用网站", "GitHub 代码", "octo", "pw1", "两步验证 backup codes", "https://github.example/");
  app.addRecord("常用网站", "邮箱 O'Brien", "obrien", "pw2", "Recovery PHRASE in safe", "https://mail.example/");
  app.addRecord("常用网站", "银行 100%", "saver", "pw3", "柜台 pin 100%", "https://bank.example/");
  app.dialogs.asked.clear();
}

QStringList titles(const AppHarness& app) {
  QStringList out;
  for (int row = 0; row < app.gridRowCount(); ++row) out << app.gridText(row, 3);
  return out;
}

void search(AppHarness& app, const QString& column, const QString& keyword) {
  Named<QComboBox>(*app.main, "ComboBoxSeachClass")->setCurrentText(column);
  Named<QLineEdit>(*app.main, "searchkeyword")->setText(keyword);
  Named<QPushButton>(*app.main, "Button_Search")->click();
}

}  // namespace

TEST(Search, PlainColumnsFindTheTypedText) {
  AppHarness app;
  startWithAccounts(app);
  search(app, "标题", "代码");
  EXPECT_EQ(titles(app), QStringList{"GitHub 代码"});
  EXPECT_EQ(app.panel(0), "关于代码的信息,共搜索到1条");
  EXPECT_EQ(Named<QLineEdit>(*app.main, "searchkeyword")->text(), "");
  search(app, "网址", "example");
  EXPECT_EQ(titles(app).size(), 3);
  search(app, "帐号", "OBRIEN");
  EXPECT_EQ(titles(app), QStringList{"邮箱 O'Brien"}) << "letters match ignoring case";
  search(app, "标题", "O'Brien");
  EXPECT_EQ(titles(app), QStringList{"邮箱 O'Brien"});
  EXPECT_TRUE(app.dialogs.asked.empty());
}

TEST(Search, NoHitListsEverythingWithTheCounterColumn) {
  AppHarness app;
  startWithAccounts(app);
  search(app, "标题", "x' or '1'='1");
  EXPECT_EQ(app.dialogs.texts(), QStringList{"对不起没有找到相关信息！"});
  EXPECT_EQ(app.panel(0), "关于x' or '1'='1的信息,共搜索到0条");
  EXPECT_EQ(app.gridRowCount(), 3);
  EXPECT_EQ(Named<QTableView>(*app.main, "DBGrid1")->model()->columnCount(), 8);
  EXPECT_FALSE(Named<QTableView>(*app.main, "DBGrid1")->isColumnHidden(7)) << "统计 stands visible";
  EXPECT_TRUE(Named<QTableView>(*app.main, "DBGrid1")->isColumnHidden(5));

  Named<QLineEdit>(*app.main, "searchkeyword")->clear();
  Named<QPushButton>(*app.main, "Button_Search")->click();
  EXPECT_EQ(app.dialogs.texts().last(), "请输入搜索关键词！");
}

TEST(Search, TheNoteColumnMatchesTheDecipheredNotes) {
  AppHarness app;
  startWithAccounts(app);
  search(app, "备注", "两步验证");
  EXPECT_EQ(titles(app), QStringList{"GitHub 代码"});
  EXPECT_EQ(app.panel(0), "关于两步验证的信息,共搜索到1条");
  search(app, "备注", "recovery phrase");
  EXPECT_EQ(titles(app), QStringList{"邮箱 O'Brien"});
  search(app, "备注", "e");
  EXPECT_EQ(titles(app), (QStringList{"GitHub 代码", "邮箱 O'Brien"})) << "hits in the database's order";
  EXPECT_EQ(Named<QTableView>(*app.main, "DBGrid1")->model()->columnCount(), 7);
  search(app, "备注", "'");
  EXPECT_EQ(app.dialogs.texts(), QStringList{"对不起没有找到相关信息！"});
}

TEST(Search, TheKeywordBoxEmptiesOnClickAndTheFormStaysPicked) {
  AppHarness app;
  startWithAccounts(app);
  EXPECT_EQ(Named<QLineEdit>(*app.main, "searchkeyword")->text(), "请输入搜索关键词");
  Named<QPushButton>(*app.main, "Button_Refresh")->click();
  app.pickRow(0);
  std::string number = Named<QLineEdit>(*app.main, "Edit_BianHao")->text().toStdString();
  Named<QLineEdit>(*app.main, "searchkeyword")->setText("typed");
  QTest::mouseClick(Named<QLineEdit>(*app.main, "searchkeyword"), Qt::LeftButton);
  EXPECT_EQ(Named<QLineEdit>(*app.main, "searchkeyword")->text(), "");
  search(app, "标题", "银行");
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_BianHao")->text().toStdString(), number) << "a search keeps the pick";
  Named<QLineEdit>(*app.main, "Edit_BiaoTi")->setText("after search");
  Named<QPushButton>(*app.main, "Button2")->click();
  EXPECT_EQ(app.scalar("select 标题 from data where 编号=" + number), "after search");
}
