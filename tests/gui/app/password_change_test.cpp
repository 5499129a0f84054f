#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "crypto/protected_field.h"
#include "store/connection.h"
#include "store/query.h"
#include "tests/gui/app/app_harness.h"

namespace {

void change(AppHarness& app, const QString& old, const QString& a, const QString& b) {
  Named<QLineEdit>(*app.main, "Edit_OldPass")->setText(old);
  Named<QLineEdit>(*app.main, "Edit_Pass_A")->setText(a);
  Named<QLineEdit>(*app.main, "Edit_Pass_B")->setText(b);
  Named<QPushButton>(*app.main, "Button7")->click();
}

}  // namespace

TEST(PasswordChange, TheChecksRunInOrderAndChangeNothing) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  const std::string before = app.scalar("select 密码 from Pass");
  change(app, "", "abc", "abc");
  change(app, "wrong", "", "");
  change(app, "123456", "123456", "");
  change(app, "123456", "", "x");
  change(app, "123456", "abc", "");
  change(app, "123456", "abc", "ABC");
  EXPECT_EQ(app.dialogs.texts(), (QStringList{"原始密码错误!", "原始密码错误!", "请输入新的密码.", "请填写密码.",
                                              "请填写确认密码.", "两次输入的密码不相同."}));
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_Pass_A")->text(), "") << "a mismatch empties both new boxes";
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_Pass_B")->text(), "");
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_OldPass")->text(), "123456");
  EXPECT_EQ(app.scalar("select 密码 from Pass"), before);
  EXPECT_TRUE(QDir(app.folder()).entryList({"修改密码前备份_bak_*"}).isEmpty());
  EXPECT_FALSE(app.main->hasClosed());
}

TEST(PasswordChange, TheNewBoxesTakeOnlyLettersAndDigitsButTheOldOneTakesAnything) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  for (QLineEdit* box : {Named<QLineEdit>(*app.main, "Edit_Pass_A"), Named<QLineEdit>(*app.main, "Edit_Pass_B")}) {
    for (QString c : {"a", " ", "b", "-", "c", ".", "中", "1"}) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, c);
      QApplication::sendEvent(box, &press);
    }
    EXPECT_EQ(box->text(), "abc1");
  }
  EXPECT_EQ(app.beeper.beeps, 8);
  QTest::keyClicks(Named<QLineEdit>(*app.main, "Edit_OldPass"), "a b-");
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_OldPass")->text(), "a b-");
  Named<QPushButton>(*app.main, "Button_PassCleal")->click();
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_Pass_A")->text(), "");
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_OldPass")->text(), "a b-");
  Named<QPushButton>(*app.main, "Button5")->click();
  for (QLineEdit* box : {Named<QLineEdit>(*app.main, "Edit_OldPass"), Named<QLineEdit>(*app.main, "Edit_Pass_A"),
                         Named<QLineEdit>(*app.main, "Edit_Pass_B")})
    EXPECT_EQ(box->echoMode(), QLineEdit::Password);
}

TEST(PasswordChange, TabAndShiftTabMoveAlongTheNewPasswordBoxes) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  Named<QTabWidget>(*app.main, "PageControl1")->setCurrentWidget(Named<QWidget>(*app.main, "TabSheet2"));
  Named<QLineEdit>(*app.main, "Edit_Pass_A")->setFocus();
  QTest::keyClick(Named<QLineEdit>(*app.main, "Edit_Pass_A"), Qt::Key_Tab);
  EXPECT_EQ(app.main->focusWidget(), Named<QLineEdit>(*app.main, "Edit_Pass_B"));
  QTest::keyClick(Named<QLineEdit>(*app.main, "Edit_Pass_B"), Qt::Key_Tab);
  EXPECT_EQ(app.main->focusWidget(), Named<QPushButton>(*app.main, "Button7"));
  Named<QLineEdit>(*app.main, "Edit_Pass_B")->setFocus();
  QTest::keyClick(Named<QLineEdit>(*app.main, "Edit_Pass_B"), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(app.main->focusWidget(), Named<QLineEdit>(*app.main, "Edit_Pass_A"));
  EXPECT_EQ(app.beeper.beeps, 0);
}

TEST(PasswordChange, APastedPasswordTheLoginCannotTakeIsRefusedBeforeAnythingIsWritten) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  const std::string before = app.scalar("select 密码 from Pass");
  change(app, "123456", "new pass!", "new pass!");  // as a paste through the context menu puts it
  EXPECT_EQ(app.dialogs.texts(), QStringList{"新密码只能由字母和数字组成,登录窗口不接受其他字符."});
  EXPECT_EQ(app.scalar("select 密码 from Pass"), before);
  EXPECT_TRUE(QDir(app.folder()).entryList({"修改密码前备份_bak_*"}).isEmpty());
  EXPECT_FALSE(app.main->hasClosed());
}

TEST(PasswordChange, ASuccessfulChangeBacksUpEndsAndTheNewPasswordIsTheOnlyOne) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  app.main->Timer1Timer();
  change(app, "123456", "NewPass7", "NewPass7");
  EXPECT_EQ(app.dialogs.texts(), QStringList{"密码设置成功,请重新登录钥匣."});
  EXPECT_TRUE(app.main->hasClosed());
  EXPECT_EQ(app.scalar("select 密码 from Pass"), crypto::MasterPasswordCipher("NewPass7"));
  QStringList backups = QDir(app.folder()).entryList({"修改密码前备份_bak_*_.udb"});
  ASSERT_EQ(backups.size(), 1);
  store::Connection backup;
  backup.setConnectionString("Provider=x;Data Source=" + (app.folder() + backups.front()).toStdString() +
                             ";Jet OLEDB:Database Password=kv7Rq2mZx9Tb");
  store::Query q(backup);
  q.addSql("select 密码 from Pass");
  q.open();
  EXPECT_EQ(q.field(0), crypto::MasterPasswordCipher("123456")) << "the backup keeps the old password";

  app.restart();
  ASSERT_TRUE(app.create());
  app.runStartupCheck();
  app.typeLogin("123456");
  EXPECT_FALSE(app.main->isVisible());
  EXPECT_EQ(Named<QLineEdit>(*app.login, "Edit_Error")->text(), "1");
  app.typeLogin("NewPass7");
  EXPECT_TRUE(app.main->isVisible());
}
