#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "crypto/protected_field.h"
#include "store/connection.h"
#include "store/query.h"
#include "tests/gui/app/app_harness.h"
#include "tests/support/disk_faults.h"
#include "vault/daily_backup.h"

namespace {

QStringList listed(const QListWidget* list) {
  QStringList names;
  for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
  return names;
}

QStringList formItems(const QComboBox* box) {
  QStringList names;
  for (int i = 0; i < box->count(); ++i) names << box->itemText(i);
  return names;
}

void clickCategory(AppHarness& app, const QString& name) {
  auto* list = Named<QListWidget>(*app.main, "ListBox_Class");
  auto found = list->findItems(name, Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1);
  list->setCurrentItem(found.front());
  emit list->itemClicked(found.front());
}

// A mouse click on a category as the platform delivers it to the list's viewport; a right
// press is followed by the context-menu request, which opens the list's menu.
void mouseOnCategory(AppHarness& app, const QString& name, Qt::MouseButton button) {
  QListWidget* list = Named<QListWidget>(*app.main, "ListBox_Class");
  auto found = list->findItems(name, Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1);
  const QPoint at = list->visualItemRect(found.front()).center();
  QTest::mousePress(list->viewport(), button, {}, at);
  if (button == Qt::RightButton) {
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &request);
  }
  QTest::mouseRelease(list->viewport(), button, {}, at);
}

// Clicks an item of the open category menu; a disabled item leaves the menu open, so it is closed.
void chooseFromMenu(AppHarness& app, QAction* item) {
  QMenu* menu = Named<QMenu>(*app.main, "PopupMenu2");
  ASSERT_TRUE(menu->isVisible());
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
  menu->close();
}

QString highlighted(const AppHarness& app) {
  const auto chosen = Named<QListWidget>(*app.main, "ListBox_Class")->selectedItems();
  return chosen.isEmpty() ? QString() : chosen.front()->text();
}

// Every backup but the daily one that the login takes.
QStringList backups(const AppHarness& app) {
  QStringList made = QDir(app.folder()).entryList({"*_bak_*_.udb"}, QDir::Files);
  made.removeIf([](const QString& name) { return name.startsWith(vault::kDailyBackupPrefix); });
  return made;
}

}  // namespace

TEST(Categories, TheListsHoldEachNameOnceInTheOrderOfUsage) {
  AppHarness app;
  app.makeDatabase();
  app.exec("insert into data (分类,标题,统计) values ('Work','a',9),('Home','b',5),('work','c',3),('','d',1)");
  app.startAndLogin();
  EXPECT_EQ(listed(Named<QListWidget>(*app.main, "ListBox_Class")), (QStringList{"Work", "Home"}));
  EXPECT_EQ(formItems(Named<QComboBox>(*app.main, "Edit_FenLei")), (QStringList{"Work", "Home"}));
  EXPECT_EQ(Named<QComboBox>(*app.main, "Edit_FenLei")->currentIndex(), -1);
  EXPECT_EQ(Named<QListWidget>(*app.main, "ListBox_Class")->currentRow(), -1);
  Named<QPushButton>(*app.main, "Button_GeiClass")->click();
  EXPECT_EQ(app.gridRowCount(), 0) << "刷新分类 leaves the grid empty";
  EXPECT_EQ(app.panel(0), "共4条信息");
}

TEST(Categories, AddRefusesShortAndDuplicateNamesAndMakesAPlaceholder) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  app.addCategory("abc");
  app.addCategory("");
  app.addCategory("home");
  app.addCategory("HOME");
  app.addCategory("网上银行");
  EXPECT_EQ(app.dialogs.texts(),
            (QStringList{"分类名称必须大于等于4个字符", "分类添加成功.", "该分类已经存在.", "分类添加成功."}));
  EXPECT_EQ(listed(Named<QListWidget>(*app.main, "ListBox_Class")), (QStringList{"home", "网上银行"}));
  auto rows = app.records();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].category, "网上银行");
  EXPECT_EQ(rows[1].title, "标题");
  EXPECT_EQ(rows[1].address, "http://");
  EXPECT_EQ(rows[1].account, "账号");
  EXPECT_EQ(rows[1].noteCipher, "") << "the placeholder has no note";
  EXPECT_EQ(app.gridRowCount(), 2);
  for (int row = 0; row < 2; ++row) {
    if (app.gridText(row, 1) != "网上银行") continue;
    app.pickRow(row);
    EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_MiMa")->text(), "密码");
    EXPECT_EQ(Named<QPlainTextEdit>(*app.main, "Memo_BeiZhu")->toPlainText(), "");
  }
}

TEST(Categories, ListingACategoryAndTheEmptyFallback) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  app.addCategory("个人邮箱");
  app.addCategory("游戏帐号");
  clickCategory(app, "游戏帐号");
  EXPECT_EQ(app.panel(0), "游戏帐号分类下共有1条");
  EXPECT_EQ(Named<QComboBox>(*app.main, "Edit_FenLei")->currentText(), "游戏帐号");
  EXPECT_EQ(app.gridRowCount(), 1);
  app.addRecord("游戏帐号", "steam", "gamer", "pw");
  EXPECT_EQ(app.scalar("select count(*) from data where 分类='游戏帐号'"), "2")
      << "an add files under the clicked category";

  Named<QListWidget>(*app.main, "ListBox_Class")->setCurrentRow(0);
  QTest::keyClick(Named<QListWidget>(*app.main, "ListBox_Class"), Qt::Key_Down);
  const QString chosen = Named<QListWidget>(*app.main, "ListBox_Class")->item(1)->text();
  const std::string count = app.scalar("select count(*) from data where 分类='" + chosen.toStdString() + "'");
  EXPECT_EQ(app.panel(0), chosen + "分类下共有" + QString::fromStdString(count) + "条") << "the keyboard chooses too";
  EXPECT_EQ(Named<QComboBox>(*app.main, "Edit_FenLei")->currentText(), chosen);

  app.exec("delete from data where 分类='个人邮箱'");
  app.dialogs.asked.clear();
  clickCategory(app, "个人邮箱");
  EXPECT_EQ(app.dialogs.texts(), QStringList{"对不起该分类下还没有信息"});
  EXPECT_EQ(app.panel(0), "个人邮箱分类下共有0条");
  EXPECT_EQ(app.gridRowCount(), 2) << "all records are shown instead";
}

TEST(Categories, RenameChangesEveryRecordOfTheCategoryAndNothingElse) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  Named<QAction>(*app.main, "N4")->trigger();
  EXPECT_EQ(app.dialogs.texts(), QStringList{"请选中要修复的分类！"});
  app.addCategory("O'Brien's");
  app.addCategory("其他网站");
  app.addRecord("O'Brien's", "second", "acct", "pw");
  clickCategory(app, "O'Brien's");
  app.dialogs.asked.clear();
  Named<QAction>(*app.main, "N4")->trigger();  // cancelled: the old name comes back
  EXPECT_EQ(app.dialogs.texts(), QStringList{"该分类已经存在."});
  app.dialogs.inputAnswers = {"x' or '1'='1"};
  Named<QAction>(*app.main, "N4")->trigger();
  EXPECT_EQ(app.scalar("select count(*) from data where 分类='x'' or ''1''=''1'"), "2");
  EXPECT_EQ(app.scalar("select count(*) from data where 分类='其他网站'"), "1");
  EXPECT_TRUE(listed(Named<QListWidget>(*app.main, "ListBox_Class")).contains("x' or '1'='1"));
  EXPECT_FALSE(listed(Named<QListWidget>(*app.main, "ListBox_Class")).contains("O'Brien's"));
  EXPECT_EQ(app.gridRowCount(), 3);
}

TEST(Categories, DeleteTakesABackupFirstAndRemovesOnlyThatCategory) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  app.main->Timer1Timer();
  app.addCategory("工作/私人 a:b?");
  app.addCategory("保留分类");
  app.addRecord("工作/私人 a:b?", "one", "a", "pw");
  clickCategory(app, "工作/私人 a:b?");
  app.dialogs.confirmAnswers = {false};
  Named<QAction>(*app.main, "N3")->trigger();
  EXPECT_EQ(app.records().size(), 3u);
  EXPECT_TRUE(backups(app).isEmpty());

  app.dialogs.confirmAnswers = {true};
  Named<QAction>(*app.main, "N3")->trigger();
  EXPECT_EQ(app.dialogs.asked.back().text,
            "您真的要删除该分类吗?\n工作/私人 a:b?\n其中的 2 条记录也将删除 (删除前自动备份).");
  auto rows = app.records();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].category, "保留分类");
  EXPECT_EQ(listed(Named<QListWidget>(*app.main, "ListBox_Class")), QStringList{"保留分类"});
  EXPECT_EQ(app.gridRowCount(), 1) << "the grid lists the records that remain";
  EXPECT_EQ(app.panel(0), "共1条信息");
  QStringList made = backups(app);
  ASSERT_EQ(made.size(), 1);
  EXPECT_TRUE(made.front().startsWith("删除[工作_私人 a_b_]分类前备份_bak_")) << made.front().toStdString();
  store::Connection backup;
  backup.setConnectionString("Provider=x;Data Source=" + (app.folder() + made.front()).toStdString() +
                             ";Jet OLEDB:Database Password=kv7Rq2mZx9Tb");
  store::Query q(backup);
  q.addSql("select count(*) from data");
  q.open();
  EXPECT_EQ(q.field(0), "3") << "the backup holds the records as they were";
}

TEST(Categories, NothingIsDeletedWhenTheBackupCannotBeMade) {
  AppHarness app;
  // The program folder on a disk that has no room left for the backup.
  disk_faults::SmallDisk disk(app.folder().toStdString(), 256 * 1024);
  app.makeDatabase();
  app.startAndLogin();
  app.addCategory("将被删除");
  clickCategory(app, "将被删除");
  disk.fill();
  app.dialogs.confirmAnswers = {true};
  Named<QAction>(*app.main, "N3")->trigger();
  EXPECT_EQ(app.dialogs.texts().last(), "备份数据库失败,分类没有删除.");
  EXPECT_EQ(app.records().size(), 1u);
  EXPECT_EQ(listed(Named<QListWidget>(*app.main, "ListBox_Class")), QStringList{"将被删除"});
}

TEST(Categories, TheMenuActsOnTheHighlightedCategoryAndARightClickKeepsTheHighlight) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  app.main->Timer1Timer();
  for (const char* name : {"甲类帐号", "乙类帐号", "丙类帐号"}) app.addCategory(name);
  app.dialogs.asked.clear();

  mouseOnCategory(app, "甲类帐号", Qt::LeftButton);
  Named<QComboBox>(*app.main, "Edit_FenLei")->setCurrentText("丙类帐号");  // the form's box chosen by hand afterwards
  mouseOnCategory(app, "乙类帐号", Qt::RightButton);
  EXPECT_EQ(highlighted(app), "甲类帐号") << "a right click leaves the highlight";
  EXPECT_EQ(Named<QComboBox>(*app.main, "Edit_FenLei")->currentText(), "甲类帐号")
      << "the menu acts on the highlighted category";
  app.dialogs.inputAnswers = {"改名后的分类"};
  chooseFromMenu(app, Named<QAction>(*app.main, "N4"));
  EXPECT_EQ(app.scalar("select count(*) from data where 分类='改名后的分类'"), "1");
  EXPECT_EQ(app.scalar("select count(*) from data where 分类 in ('乙类帐号','丙类帐号')"), "2");

  mouseOnCategory(app, "乙类帐号", Qt::LeftButton);
  mouseOnCategory(app, "丙类帐号", Qt::RightButton);
  app.dialogs.confirmAnswers = {true};
  chooseFromMenu(app, Named<QAction>(*app.main, "N3"));
  EXPECT_EQ(app.dialogs.asked.back().text,
            "您真的要删除该分类吗?\n乙类帐号\n其中的 1 条记录也将删除 (删除前自动备份).");
  EXPECT_FALSE(listed(Named<QListWidget>(*app.main, "ListBox_Class")).contains("乙类帐号"));
  EXPECT_EQ(app.records().size(), 2u);

  // After the rebuild nothing is highlighted: rename and delete do nothing.
  app.dialogs.asked.clear();
  app.dialogs.confirmAnswers = {true};
  mouseOnCategory(app, "丙类帐号", Qt::RightButton);
  EXPECT_EQ(highlighted(app), "");
  chooseFromMenu(app, Named<QAction>(*app.main, "N4"));
  mouseOnCategory(app, "丙类帐号", Qt::RightButton);
  chooseFromMenu(app, Named<QAction>(*app.main, "N3"));
  EXPECT_TRUE(app.dialogs.asked.empty());
  EXPECT_EQ(app.records().size(), 2u);
}

TEST(Categories, AnEmptyListShowsAHintThatIsNoItem) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  QListWidget* list = Named<QListWidget>(*app.main, "ListBox_Class");
  const QRgb base = list->palette().color(QPalette::Base).rgb();
  // Whether anything is drawn in a band across the middle of the list, where the hint stands.
  auto middleMarked = [&] {
    const QImage shot = list->viewport()->grab().toImage();
    for (int y = shot.height() / 3; y < shot.height() * 2 / 3; ++y)
      for (int x = 0; x < shot.width(); ++x)
        if (shot.pixel(x, y) != base) return true;
    return false;
  };
  EXPECT_EQ(list->count(), 0);
  EXPECT_TRUE(middleMarked()) << "the empty list shows the hint";
  app.addCategory("个人邮箱");
  EXPECT_EQ(list->count(), 1);
  EXPECT_FALSE(middleMarked()) << "a list with items shows them only";
}
