#include <gtest/gtest.h>
#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "crypto/protected_field.h"
#include "tests/gui/app/app_harness.h"
#include "tests/support/file_bytes.h"
#include "widgets/panel_status_bar.h"

namespace {

void startToLogin(AppHarness& app, const std::string& master = AppHarness::kMaster) {
  app.makeDatabase(master);
  ASSERT_TRUE(app.create());
  app.runStartupCheck();
  ASSERT_TRUE(app.login->isVisible());
}

// One typed character, also one that the test keyboard has no key for.
void typeCharacter(QWidget* box, const QString& character) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, character);
  QApplication::sendEvent(box, &press);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, character);
  QApplication::sendEvent(box, &release);
}

}  // namespace

TEST(Login, TheRightPasswordOpensTheMainWindowAndSwitchesEverythingOn) {
  AppHarness app;
  startToLogin(app);
  app.exec("insert into data (分类,标题,网址,帐号,密码,备注) values ('家庭网银','bank','','me','','')");
  const auto* hint = Named<QLabel>(*app.login, "Label_InitialPassword");
  EXPECT_TRUE(hint->isVisible()) << "the initial password is told while it is in force";
  EXPECT_EQ(hint->text(), "初始管理密码为 123456");
  app.typeLogin("123456");
  EXPECT_FALSE(app.login->isVisible());
  EXPECT_TRUE(app.main->isVisible());
  EXPECT_EQ(Named<QLineEdit>(*app.login, "Edit_LoginPass")->text(), "");
  EXPECT_EQ(Named<QLineEdit>(*app.login, "Edit_LoginPass_Temp")->text(), app.keys.storedMasterPassword());
  EXPECT_TRUE(app.taskbar.onTaskbar[app.main.get()]);
  EXPECT_TRUE(app.hotKeys.registered.empty()) << "the form is empty after a login: the hot keys wait for a pick";
  app.pickRow(0);
  ASSERT_EQ(app.hotKeys.registered.size(), 2u);
  EXPECT_EQ(app.hotKeys.registered[login::TForm2::kAccountHotKeyId], (fakes::HotKeyCombination{2, 37}));
  EXPECT_EQ(app.hotKeys.registered[login::TForm2::kPasswordHotKeyId], (fakes::HotKeyCombination{2, 39}));
  EXPECT_EQ(Named<QListWidget>(*app.main, "ListBox_Class")->count(), 1);
  EXPECT_EQ(app.gridRowCount(), 1);
  EXPECT_EQ(app.panel(0), "共1条信息");
  EXPECT_TRUE(app.dialogs.asked.empty());
}

TEST(Login, WrongPasswordsCountAcrossShowingsAndTheThirdEndsTheProgram) {
  AppHarness app;
  startToLogin(app, "Secret9");
  EXPECT_FALSE(Named<QLabel>(*app.login, "Label_InitialPassword")->isVisible());
  const std::string untouched = file_bytes::ReadBytes(app.databasePath());
  app.typeLogin("secret9");  // differs only in case
  EXPECT_EQ(Named<QLineEdit>(*app.login, "Edit_Error")->text(), "1");
  EXPECT_EQ(Named<widgets::PanelStatusBar>(*app.login, "StatusBar1")->panelText(0), "密码错误...1次");
  EXPECT_EQ(Named<QLineEdit>(*app.login, "Edit_LoginPass")->text(), "secret9") << "the typed password stays";
  app.typeLogin("nope");
  EXPECT_EQ(Named<widgets::PanelStatusBar>(*app.login, "StatusBar1")->panelText(0), "密码错误...2次");
  EXPECT_FALSE(app.main->hasClosed());
  EXPECT_TRUE(file_bytes::ReadBytes(app.databasePath()) == untouched) << "wrong passwords changed the file";

  app.typeLogin("Secret9");
  ASSERT_TRUE(app.main->isVisible());
  EXPECT_EQ(Named<QLineEdit>(*app.login, "Edit_Error")->text(), "2") << "a success does not reset the counter";
  Named<QAction>(*app.main, "HideME")->trigger();
  Named<QAction>(*app.main, "ShowME")->trigger();
  ASSERT_TRUE(app.login->isVisible());
  EXPECT_EQ(Named<QLineEdit>(*app.login, "Edit_LoginPass")->text(), "");
  app.typeLogin("wrong");
  EXPECT_EQ(app.dialogs.texts(), QStringList{"由于您多次输入了无效的密码程序将要退出..."});
  EXPECT_TRUE(app.main->hasClosed());
  EXPECT_EQ(Named<widgets::PanelStatusBar>(*app.login, "StatusBar1")->panelText(0), "密码错误...3次");
}

TEST(Login, AnEmptyPasswordAsksForOneWithoutCounting) {
  AppHarness app;
  startToLogin(app);
  app.typeLogin("");
  EXPECT_EQ(app.dialogs.texts(), QStringList{"请输入密码..."});
  EXPECT_EQ(Named<QLineEdit>(*app.login, "Edit_Error")->text(), "0");
}

TEST(Login, TheBoxTakesOnlyLettersAndDigitsAndEnterWaitsForTheFirstChange) {
  AppHarness app;
  startToLogin(app);
  QLineEdit* box = Named<QLineEdit>(*app.login, "Edit_LoginPass");
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(app.beeper.beeps, 1) << "Enter before any change only beeps";
  EXPECT_EQ(Named<QLineEdit>(*app.login, "Edit_Error")->text(), "0");
  for (QString refused : {"é", " ", "-", "*", "中"}) typeCharacter(box, refused);
  EXPECT_EQ(box->text(), "");
  EXPECT_EQ(app.beeper.beeps, 6);
  QApplication::clipboard()->setText("pasted");
  QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(box->text(), "") << "Ctrl+V does not paste";
  QTest::keyClicks(box, "aZ09");
  EXPECT_EQ(box->text(), "aZ09");
  QTest::keyClick(box, Qt::Key_Backspace);
  EXPECT_EQ(box->text(), "aZ0");
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(Named<QLineEdit>(*app.login, "Edit_Error")->text(), "1") << "after a change Enter presses 进入";

  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_EQ(box->text(), "") << "a click into the box empties it";
  QTest::keyClicks(box, "123456");
  QTest::keyClick(box, Qt::Key_Enter);
  EXPECT_TRUE(app.main->isVisible());
}

TEST(Login, TabAndShiftTabMoveTheFocusOutOfThePasswordBox) {
  AppHarness app;
  startToLogin(app);
  QLineEdit* box = Named<QLineEdit>(*app.login, "Edit_LoginPass");
  QTest::keyClicks(box, "ab1");
  QTest::keyClick(box, Qt::Key_Tab);
  EXPECT_EQ(app.login->focusWidget(), Named<QPushButton>(*app.login, "Button_Logining"));
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_NE(app.login->focusWidget(), box);
  EXPECT_EQ(box->text(), "ab1");
  EXPECT_EQ(app.beeper.beeps, 0);
}

TEST(Login, TheHiddenSecretsShowNothingToAccessibilityClients) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  app.addCategory("常用网站");
  Named<QPushButton>(*app.main, "Button_Refresh")->click();
  app.pickRow(0);
  for (QLineEdit* secret :
       {Named<QLineEdit>(*app.login, "Edit_LoginPass_Temp"), Named<QLineEdit>(*app.main, "Edit_MiMa_Temp")}) {
    ASSERT_FALSE(secret->text().isEmpty()) << secret->objectName().toStdString();
    QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(secret);
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(seen->text(QAccessible::Value), "") << secret->objectName().toStdString() << ": not even its length";
    EXPECT_EQ(secret->echoMode(), QLineEdit::NoEcho);
    const QAccessibleTextInterface* text = seen->textInterface();
    EXPECT_TRUE(!text || (text->characterCount() == 0 && text->text(0, 64).isEmpty()));
  }
  EXPECT_EQ(app.main->autoFillPassword(), "密码") << "the program itself still reads it";
}

TEST(Login, LockingAndShowingGoThroughTheLoginWindow) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  app.pickAnyRecord();
  Named<QAction>(*app.main, "HideME")->trigger();
  EXPECT_FALSE(app.main->isVisible());
  EXPECT_FALSE(app.taskbar.onTaskbar[app.main.get()]);
  EXPECT_EQ(Named<QLineEdit>(*app.login, "Edit_LoginPass_Temp")->text(), "");
  EXPECT_EQ(app.hotKeys.registered.size(), 2u) << "hot keys stay while locked";

  app.exec("update Pass set 密码='" + crypto::MasterPasswordCipher("other1") + "'");
  app.main->TrayIcon1Click();
  EXPECT_TRUE(app.login->isVisible());
  EXPECT_FALSE(app.main->isVisible());
  app.typeLogin("123456");
  EXPECT_FALSE(app.main->isVisible()) << "the gate read the master password anew";
  app.typeLogin("other1");
  EXPECT_TRUE(app.main->isVisible());
  Named<QPushButton>(*app.main, "Button_HIde")->click();
  EXPECT_FALSE(app.main->isVisible());

  Named<QAction>(*app.main, "ShowME")->trigger();
  ASSERT_TRUE(app.login->isVisible());
  Named<QAction>(*app.main, "HideME")->trigger();  // while the login window is up
  EXPECT_TRUE(app.login->isVisible());
  EXPECT_FALSE(app.main->isVisible());
  app.typeLogin("other1");
  Named<QAction>(*app.main, "ShowME")->trigger();  // unlocked: straight to the main window
  EXPECT_TRUE(app.main->isVisible());
  EXPECT_FALSE(app.login->isVisible());
}

TEST(Login, ExitAndTheTrayExitEndTheProgram) {
  AppHarness app;
  startToLogin(app);
  Named<QPushButton>(*app.login, "Button2")->click();
  EXPECT_TRUE(app.main->hasClosed());

  AppHarness tray;
  tray.makeDatabase();
  tray.startAndLogin();
  Named<QAction>(*tray.main, "CloseMe")->trigger();
  EXPECT_TRUE(tray.main->hasClosed());
  EXPECT_FALSE(tray.main->vault().connection().isOpen());
}

TEST(Login, AHotKeyHeldByAnotherProgramIsReportedOnce) {
  AppHarness app;
  app.hotKeys.taken.insert(39);
  app.makeDatabase();
  app.startAndLogin();
  app.pickAnyRecord();
  ASSERT_EQ(app.dialogs.texts().size(), 1);
  EXPECT_TRUE(app.dialogs.texts().front().contains("Ctrl + →"));
  EXPECT_FALSE(app.dialogs.texts().front().contains("Ctrl + ←"));
  Named<QAction>(*app.main, "HideME")->trigger();
  Named<QAction>(*app.main, "ShowME")->trigger();
  app.typeLogin("123456");
  app.pickRow(0);
  EXPECT_EQ(app.dialogs.texts().size(), 1);
}
