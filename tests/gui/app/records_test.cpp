#include <gtest/gtest.h>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QWheelEvent>

#include "crypto/protected_field.h"
#include "tests/gui/app/app_harness.h"

namespace {

// A logged-in program with one category and the given records, titled t0, t1, ...
void startWithRecords(AppHarness& app, int count, const QString& category = "常用网站") {
  app.makeDatabase();
  app.startAndLogin();
  app.addCategory(category);
  app.exec("delete from data");  // drop the placeholder record
  for (int i = 0; i < count; ++i)
    app.addRecord(category, QString("t%1").arg(i), QString("user%1").arg(i), QString("pw%1").arg(i),
                  QString("note %1").arg(i), QString("https://site%1.example/").arg(i));
  app.dialogs.asked.clear();
}

std::string reveal(AppHarness& app, const std::string& cipher) {
  return crypto::RevealField(cipher, app.main->vault().databaseKey());
}

}  // namespace

TEST(Records, APickFillsTheFormAndCountsOneUse) {
  AppHarness app;
  startWithRecords(app, 3);
  Named<QPushButton>(*app.main, "Button_Refresh")->click();
  ASSERT_EQ(app.gridRowCount(), 3);
  app.pickRow(1);
  QString title = app.gridText(1, 3);
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_BiaoTi")->text(), title);
  int i = title.mid(1).toInt();
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_ZhangHao")->text(), QString("user%1").arg(i));
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_MiMa")->text(), QString("pw%1").arg(i));
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_MiMa_Temp")->text(), QString("pw%1").arg(i));
  EXPECT_EQ(Named<QPlainTextEdit>(*app.main, "Memo_BeiZhu")->toPlainText(), QString("note %1").arg(i));
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_WangZhi")->text(), QString("https://site%1.example/").arg(i));
  EXPECT_EQ(Named<QComboBox>(*app.main, "Edit_FenLei")->currentText(), "常用网站");
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_BianHao")->text(), app.gridText(1, 0));
  EXPECT_EQ(app.panel(1), "2");

  app.pickRow(1);
  app.pickRow(1);
  EXPECT_EQ(app.scalar("select 统计 from data where 标题='" + title.toStdString() + "'"), "3");
  Named<QPushButton>(*app.main, "Button_Refresh")->click();
  EXPECT_EQ(app.gridText(0, 3), title) << "the most used record comes first";
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_BiaoTi")->text(), "") << "a refresh clears the form";
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_MiMa_Temp")->text(), QString("pw%1").arg(i))
      << "but keeps the password copy";
  EXPECT_EQ(Named<QComboBox>(*app.main, "Edit_FenLei")->currentText(), "常用网站");
}

TEST(Records, NavigationAndTheWheelMoveOneRecordWithoutTouchingTheForm) {
  AppHarness app;
  startWithRecords(app, 5);
  Named<QPushButton>(*app.main, "Button_Refresh")->click();
  app.pickRow(2);
  QString picked = Named<QLineEdit>(*app.main, "Edit_BiaoTi")->text();
  Named<QPushButton>(*app.main, "Button_First")->click();
  EXPECT_EQ(app.cursorRecordNumber(), 1);
  EXPECT_EQ(app.panel(1), "1");
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_BiaoTi")->text(), picked);
  Named<QPushButton>(*app.main, "Button_Prior")->click();
  EXPECT_EQ(app.panel(1), "1") << "prior at the first stays there";
  Named<QPushButton>(*app.main, "Button_Last")->click();
  Named<QPushButton>(*app.main, "Button_Next")->click();
  EXPECT_EQ(app.panel(1), "5");
  EXPECT_EQ(Named<QTableView>(*app.main, "DBGrid1")->currentIndex().row(), 4) << "the grid follows the query";

  Named<QPushButton>(*app.main, "Button_First")->click();
  auto* grid = Named<QTableView>(*app.main, "DBGrid1");
  QWidget* viewport = grid->viewport();
  auto turn = [&](int delta) {
    QWheelEvent wheel(QPointF(5, 5), viewport->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
  };
  for (int notch = 0; notch < 3; ++notch) turn(-120);
  EXPECT_EQ(app.cursorRecordNumber(), 4);
  EXPECT_EQ(grid->currentIndex().row(), 3);
  turn(-360);
  EXPECT_EQ(app.cursorRecordNumber(), 5) << "one record per event whatever its distance";
  for (int notch = 0; notch < 7; ++notch) turn(120);
  EXPECT_EQ(app.cursorRecordNumber(), 1);
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_BiaoTi")->text(), picked);
  EXPECT_EQ(app.panel(1), "1") << "the wheel does not write the number";
}

TEST(Records, AClickWithNoListingChangesNothing) {
  AppHarness app;
  startWithRecords(app, 1);
  Named<QPushButton>(*app.main, "Button_GeiClass")->click();  // leaves the main query closed
  Named<QLineEdit>(*app.main, "Edit_BiaoTi")->setText("typed");
  app.main->DBGrid1CellClick();
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_BiaoTi")->text(), "typed");
  EXPECT_EQ(app.scalar("select 统计 from data"), "0");
  EXPECT_TRUE(app.dialogs.asked.empty());
}

TEST(Records, ShowOrHideTogglesTheMaskOfThePasswordUntilTheNextPickOrLock) {
  AppHarness app;
  startWithRecords(app, 2);
  auto* showOrHide = Named<QPushButton>(*app.main, "Button_Pass_ShowOrHide");
  auto* password = Named<QLineEdit>(*app.main, "Edit_MiMa");
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  showOrHide->click();
  EXPECT_EQ(showOrHide->text(), "隐藏");
  EXPECT_EQ(password->echoMode(), QLineEdit::Normal);
  showOrHide->click();
  EXPECT_EQ(showOrHide->text(), "显示");
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);

  showOrHide->click();
  app.pickRow(1);
  EXPECT_EQ(password->echoMode(), QLineEdit::Password) << "another record's password is masked again";
  EXPECT_EQ(showOrHide->text(), "显示");
  showOrHide->click();
  Named<QAction>(*app.main, "HideME")->trigger();
  EXPECT_EQ(password->echoMode(), QLineEdit::Password) << "a lock masks the password again";
  EXPECT_EQ(showOrHide->text(), "显示");
}

TEST(Records, AddChecksInOrderAndStoresPasswordAndNoteEnciphered) {
  AppHarness app;
  startWithRecords(app, 0);
  Named<QComboBox>(*app.main, "Edit_FenLei")->setCurrentIndex(-1);
  Named<QPushButton>(*app.main, "Button1")->click();
  EXPECT_EQ(app.dialogs.texts(), QStringList{"请选择分类."});
  Named<QComboBox>(*app.main, "Edit_FenLei")->setCurrentIndex(0);
  Named<QPushButton>(*app.main, "Button1")->click();
  Named<QLineEdit>(*app.main, "Edit_BiaoTi")->setText("O'Brien 100% a_b \\n 中文");
  Named<QPushButton>(*app.main, "Button1")->click();
  Named<QLineEdit>(*app.main, "Edit_ZhangHao")->setText("x' or '1'='1");
  Named<QPushButton>(*app.main, "Button1")->click();
  EXPECT_EQ(app.dialogs.texts(), (QStringList{"请选择分类.", "请填写标题.", "请填写帐号.", "请填写密码."}));
  EXPECT_TRUE(app.records().empty());

  Named<QLineEdit>(*app.main, "Edit_MiMa")->setText("p'w\"%_{}中");
  Named<QPushButton>(*app.main, "Button1")->click();
  EXPECT_EQ(app.dialogs.texts().last(), "添加成功.");
  auto rows = app.records();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].title, "O'Brien 100% a_b \\n 中文");
  EXPECT_EQ(rows[0].account, "x' or '1'='1");
  EXPECT_EQ(rows[0].address, "");
  EXPECT_EQ(rows[0].uses, "0");
  EXPECT_EQ(reveal(app, rows[0].passwordCipher), "p'w\"%_{}中");
  EXPECT_EQ(rows[0].noteCipher.size(), 16u) << "an empty note is stored as one enciphered block";
  EXPECT_EQ(reveal(app, rows[0].noteCipher), "");
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_BiaoTi")->text(), "");
  EXPECT_EQ(Named<QComboBox>(*app.main, "Edit_FenLei")->currentText(), "常用网站")
      << "the category stays for the next add";
  EXPECT_EQ(app.gridRowCount(), 1);
}

TEST(Records, APasswordOrNoteTheCodePageCannotCarryIsRefusedAndTheFormKept) {
  AppHarness app;
  startWithRecords(app, 1);
  Named<QPushButton>(*app.main, "Button_Refresh")->click();
  app.pickRow(0);
  const std::string before = app.records()[0].passwordCipher;
  Named<QLineEdit>(*app.main, "Edit_MiMa")->setText("密码Ab1😀");
  Named<QPushButton>(*app.main, "Button2")->click();
  Named<QPushButton>(*app.main, "Button1")->click();
  Named<QLineEdit>(*app.main, "Edit_MiMa")->setText("密码Ab1");
  Named<QPlainTextEdit>(*app.main, "Memo_BeiZhu")->setPlainText("备注 ✓ ok");
  Named<QPushButton>(*app.main, "Button2")->click();
  Named<QPushButton>(*app.main, "Button1")->click();
  EXPECT_EQ(app.dialogs.texts(), (QStringList{"密码中有无法保存的字符: 😀", "密码中有无法保存的字符: 😀",
                                              "备注中有无法保存的字符: ✓", "备注中有无法保存的字符: ✓"}));
  auto rows = app.records();
  ASSERT_EQ(rows.size(), 1u) << "nothing is added";
  EXPECT_EQ(rows[0].passwordCipher, before) << "nothing is modified";
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_MiMa")->text(), "密码Ab1") << "the form keeps what was typed";
  EXPECT_EQ(Named<QPlainTextEdit>(*app.main, "Memo_BeiZhu")->toPlainText(), "备注 ✓ ok");
  EXPECT_FALSE(Named<QLineEdit>(*app.main, "Edit_BianHao")->text().isEmpty());
}

TEST(Records, ModifyWritesThePickedRecordAndKeepsThePosition) {
  AppHarness app;
  startWithRecords(app, 6);
  Named<QPushButton>(*app.main, "Button2")->click();
  EXPECT_EQ(app.dialogs.texts(), QStringList{"不可编辑"});
  Named<QPushButton>(*app.main, "Button_Refresh")->click();
  app.pickRow(4);
  std::string number = Named<QLineEdit>(*app.main, "Edit_BianHao")->text().toStdString();
  Named<QLineEdit>(*app.main, "Edit_BiaoTi")->setText("renamed 'quoted'");
  Named<QPlainTextEdit>(*app.main, "Memo_BeiZhu")->setPlainText("新的备注\nline 2");
  Named<QPushButton>(*app.main, "Button2")->click();
  EXPECT_EQ(app.dialogs.texts().last(), "修改成功.");
  EXPECT_EQ(app.scalar("select 标题 from data where 编号=" + number), "renamed 'quoted'");
  EXPECT_EQ(reveal(app, app.scalar("select 备注 from data where 编号=" + number)), "新的备注\nline 2");
  EXPECT_EQ(app.scalar("select 统计 from data where 编号=" + number), "1") << "the counter keeps its value";
  EXPECT_EQ(app.cursorRecordNumber(), 5) << "the grid stands on the same row number again";
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_BianHao")->text(), "");
  Named<QPushButton>(*app.main, "Button2")->click();
  EXPECT_EQ(app.dialogs.texts().last(), "不可编辑") << "a second modify needs a new pick";
}

TEST(Records, ModifyOfARecordDeletedMeanwhileSaysSoAndListsAgain) {
  AppHarness app;
  startWithRecords(app, 2);
  Named<QPushButton>(*app.main, "Button_Refresh")->click();
  app.pickRow(0);
  app.exec("delete from data where 编号=" + Named<QLineEdit>(*app.main, "Edit_BianHao")->text().toStdString());
  Named<QLineEdit>(*app.main, "Edit_BiaoTi")->setText("changed");
  Named<QPushButton>(*app.main, "Button2")->click();
  EXPECT_FALSE(app.dialogs.texts().contains("修改成功."));
  EXPECT_EQ(app.dialogs.texts().last(), "该记录已不存在,修改未保存.");
  EXPECT_EQ(app.records().size(), 1u);
  EXPECT_EQ(app.gridRowCount(), 1);
  EXPECT_EQ(app.panel(0), "共1条信息");
}

TEST(Records, DeleteActsOnTheGridsCurrentRowOnlyAfterYes) {
  AppHarness app;
  startWithRecords(app, 3);
  Named<QPushButton>(*app.main, "Button_Refresh")->click();
  app.pickRow(0);
  Named<QPushButton>(*app.main, "Button_Next")->click();
  QString next = app.gridText(1, 3);
  app.dialogs.confirmAnswers = {false};
  Named<QPushButton>(*app.main, "Button3")->click();
  EXPECT_EQ(app.records().size(), 3u);
  EXPECT_EQ(app.dialogs.asked.back().caption, "警告");
  EXPECT_EQ(app.dialogs.asked.back().text, "您真的要删除该记录吗?\n" + next + " / " + app.gridText(1, 4))
      << "the question names the row that goes";
  app.dialogs.confirmAnswers = {true};
  Named<QPushButton>(*app.main, "Button3")->click();
  auto rows = app.records();
  ASSERT_EQ(rows.size(), 2u);
  for (const auto& row : rows) EXPECT_NE(QString::fromStdString(row.title), next);
  EXPECT_EQ(app.gridRowCount(), 2) << "the listing keeps its other rows";
  EXPECT_EQ(app.panel(0), "共3条信息") << "the summary is not re-read";
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_BiaoTi")->text(), "");

  Named<QPushButton>(*app.main, "Button_GeiClass")->click();  // no listing open
  app.dialogs.confirmAnswers = {true};
  size_t shown = app.dialogs.asked.size();
  Named<QPushButton>(*app.main, "Button3")->click();
  EXPECT_EQ(app.dialogs.asked.size(), shown + 1) << "only the question, no error";
  EXPECT_EQ(app.dialogs.asked.back().text, "您真的要删除该记录吗?") << "no row, nothing to name";
  EXPECT_EQ(app.records().size(), 2u);
}

TEST(Records, AStoredPasswordThatIsNotCipherTextShowsEmptyAndStillCounts) {
  AppHarness app;
  startWithRecords(app, 1);
  app.exec("update data set 密码='not hex!', 备注=NULL");
  Named<QPushButton>(*app.main, "Button_Refresh")->click();
  app.pickRow(0);
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_MiMa")->text(), "");
  EXPECT_EQ(Named<QPlainTextEdit>(*app.main, "Memo_BeiZhu")->toPlainText(), "");
  EXPECT_TRUE(app.dialogs.asked.empty());
  EXPECT_EQ(app.scalar("select 统计 from data"), "1");
}

TEST(Records, HistoryRestoresTheVersionThatAModifyWroteOver) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  app.addCategory("常用网站");
  app.exec("delete from data");
  app.addRecord("常用网站", "site", "me", "old1pw");
  Named<QPushButton>(*app.main, "Button_Refresh")->click();
  app.pickRow(0);
  Named<QLineEdit>(*app.main, "Edit_MiMa")->setText("new2pw");
  Named<QPushButton>(*app.main, "Button2")->click();
  app.pickRow(0);
  app.dialogs.versionAnswers = {0};
  Named<QPushButton>(*app.main, "Button_History")->click();
  ASSERT_EQ(app.dialogs.shownVersions.size(), 1u);
  EXPECT_TRUE(app.dialogs.shownVersions[0].line.endsWith("  密码")) << app.dialogs.shownVersions[0].line.toStdString();
  EXPECT_EQ(app.dialogs.shownVersions[0].password, "old1pw");
  ASSERT_EQ(app.dialogs.texts("question").size(), 1);
  app.pickRow(0);
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_MiMa")->text(), "old1pw");

  // 最近删除: a deleted record comes back, or goes for good after a question.
  app.dialogs.confirmAnswers = {true};
  Named<QPushButton>(*app.main, "Button3")->click();
  ASSERT_EQ(app.gridRowCount(), 0);
  app.dialogs.deletedAnswers = {{0, false}};
  Named<QPushButton>(*app.main, "Button_Deleted")->click();
  ASSERT_EQ(app.dialogs.shownDeleted.size(), 1);
  EXPECT_TRUE(app.dialogs.shownDeleted[0].endsWith("  常用网站  site  me"));
  ASSERT_EQ(app.gridRowCount(), 1);
  EXPECT_EQ(Named<QListWidget>(*app.main, "ListBox_Class")->count(), 1) << "its category is back";
  app.pickRow(0);
  app.dialogs.confirmAnswers = {true, true};
  Named<QPushButton>(*app.main, "Button3")->click();
  app.dialogs.deletedAnswers = {{0, true}};
  Named<QPushButton>(*app.main, "Button_Deleted")->click();
  EXPECT_TRUE(app.dialogs.texts("confirm").last().contains("删除前的备份文件仍保存着它"));
  EXPECT_TRUE(app.main->vault().deletedRecords().empty());
}
