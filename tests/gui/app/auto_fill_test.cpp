#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <optional>
#include <string>

#include "app/instance_requests.h"
#include "tests/gui/app/app_harness.h"
#include "tests/unit/input/us_layout_decoder.h"
#include "widgets/panel_status_bar.h"

namespace {

void startWithPickedRecord(AppHarness& app, const QString& account, const QString& password) {
  app.makeDatabase();
  app.startAndLogin();
  app.addCategory("常用网站");
  app.exec("delete from data");
  app.addRecord("常用网站", "site", account, password);
  Named<QPushButton>(*app.main, "Button_Refresh")->click();
  app.pickRow(0);
  app.dialogs.asked.clear();
}

// The running instance's answer to another process's request, once it has come.
std::string Answer(AppHarness& app, const char* request) {
  std::optional<std::string> answer;
  app::AnswerInstanceRequest(*app.main, *app.login, request, [&answer](const std::string& said) { answer = said; });
  EXPECT_TRUE(QTest::qWaitFor([&answer] { return answer.has_value(); }, 10000)) << request;
  return answer.value_or("");
}

}  // namespace

TEST(AutoFill, KeystrokeStyleTypesTheStoredTextLiterally) {
  AppHarness app;
  const QString password = "a+b^c%d~e(f)g{h}i@#!";
  startWithPickedRecord(app, "me@example", password);
  Named<QRadioButton>(*app.main, "RadioButton_IntoPass2")->setChecked(true);
  app.hotKeys.press(login::TForm2::kPasswordHotKeyId);
  EXPECT_EQ(input_test::DecodeUsTyping(app.keySink.events), password);
  app.keySink.events.clear();
  app.hotKeys.press(login::TForm2::kAccountHotKeyId);
  EXPECT_EQ(input_test::DecodeUsTyping(app.keySink.events), "me@example");
  EXPECT_TRUE(app.dialogs.asked.empty());
}

TEST(AutoFill, PasteStyleCopiesThenSendsCtrlV) {
  AppHarness app;
  startWithPickedRecord(app, "me", "s3cret");
  Named<QRadioButton>(*app.main, "RadioButton_IntoPass1")->setChecked(true);
  app.hotKeys.press(login::TForm2::kPasswordHotKeyId);
  EXPECT_EQ(QApplication::clipboard()->text(), "s3cret");
  EXPECT_EQ(QApplication::clipboard()->mimeData()->data("x-kde-passwordManagerHint"), "secret");
  EXPECT_TRUE(Named<QTimer>(*app.main, "Timer_ClearClipbrd")->isActive());
  ASSERT_EQ(app.keySink.events.size(), 4u);
  EXPECT_EQ(app.keySink.events[0].virtualKey, 17);
  EXPECT_TRUE(app.keySink.events[0].down);
  EXPECT_EQ(app.keySink.events[1].virtualKey, 86);
  EXPECT_FALSE(app.keySink.events[2].down);
  EXPECT_EQ(app.keySink.events[3].virtualKey, 17);
  EXPECT_TRUE(app.inputMethod.calls.empty()) << "pasting needs no direct input";
  app.main->Timer_ClearClipbrdTimer();
  EXPECT_EQ(QApplication::clipboard()->text(), "");
}

TEST(AutoFill, NothingIsEnteredWithoutAPickedRecord) {
  AppHarness app;
  startWithPickedRecord(app, "me", "pw");
  Named<QPushButton>(*app.main, "Button_Refresh")->click();  // clears the form, the password copy stays
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_MiMa_Temp")->text(), "pw");
  app.hotKeys.press(login::TForm2::kAccountHotKeyId);
  app.hotKeys.press(login::TForm2::kPasswordHotKeyId);
  EXPECT_EQ(app.dialogs.texts(), QStringList(2, "请先选择一组帐号,才能自动输入账户密码.!"));
  EXPECT_TRUE(app.keySink.events.empty());
}

TEST(AutoFill, ClipboardIsEmptiedAfterTheCountdownAndAtTheEnd) {
  AppHarness app;
  startWithPickedRecord(app, "me", "pw");
  Named<QPushButton>(*app.main, "ButtonCopyZhangHao")->click();
  EXPECT_EQ(QApplication::clipboard()->text(), "me");
  Named<QPushButton>(*app.main, "ButtonCopyEdit_MiMa")->click();
  EXPECT_EQ(QApplication::clipboard()->text(), "pw");
  Named<QAction>(*app.main, "CloseMe")->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "") << "closing empties what the program copied";

  AppHarness other;
  startWithPickedRecord(other, "me", "pw");
  Named<QPushButton>(*other.main, "ButtonCopyEdit_MiMa")->click();
  QApplication::clipboard()->setText("the user's own text");
  other.main->Timer_ClearClipbrdTimer();
  EXPECT_EQ(QApplication::clipboard()->text(), "the user's own text") << "never wipe what the user copied since";
  EXPECT_FALSE(Named<QTimer>(*other.main, "Timer_ClearClipbrd")->isActive());
}

TEST(AutoFill, NothingIsSentWhileTheUserStillHoldsAKey) {
  AppHarness app;
  startWithPickedRecord(app, "me", "qwerty");
  app.keySink.heldPolls = -1;  // Ctrl of the hot key never let go
  for (QRadioButton* style : {Named<QRadioButton>(*app.main, "RadioButton_IntoPass2"),
                              Named<QRadioButton>(*app.main, "RadioButton_IntoPass1")}) {
    style->setChecked(true);
    Named<widgets::PanelStatusBar>(*app.main, "StatusBar1")->setPanelText(0, "");
    const int beeps = app.beeper.beeps;
    app.hotKeys.press(login::TForm2::kPasswordHotKeyId);
    EXPECT_TRUE(app.keySink.events.empty()) << style->text().toStdString();
    EXPECT_EQ(app.beeper.beeps, beeps + 1);
    EXPECT_EQ(app.panel(0), "按键未松开,没有自动输入.");
  }
  EXPECT_TRUE(app.dialogs.asked.empty());

  app.keySink.heldPolls = 3;  // let go in time: typed once it is up
  Named<QRadioButton>(*app.main, "RadioButton_IntoPass2")->setChecked(true);
  app.hotKeys.press(login::TForm2::kPasswordHotKeyId);
  EXPECT_EQ(input_test::DecodeUsTyping(app.keySink.events), "qwerty");
}

TEST(AutoFill, AValueWithAnUntypableCharacterIsRefusedWhole) {
  AppHarness app;
  startWithPickedRecord(app, "me", "ab中cd");
  Named<QRadioButton>(*app.main, "RadioButton_IntoPass2")->setChecked(true);
  app.inputMethod.current = platform::InputMethodState::kActive;
  app.hotKeys.press(login::TForm2::kPasswordHotKeyId);
  EXPECT_TRUE(app.keySink.events.empty());
  EXPECT_EQ(app.inputMethod.calls.size(), 1u) << "not switched for a value that is refused";
  ASSERT_EQ(app.dialogs.asked.size(), 1u);
  EXPECT_EQ(app.dialogs.asked[0].caption, "SendKeys");
  EXPECT_EQ(app.dialogs.asked[0].text, "程序不支持（中文、全角等非ASCII码字符的密码）自动输入.\n无法输入的字符: 中");
}

TEST(AutoFill, AnActiveInputMethodGetsDirectInputForTheTypingAndIsSwitchedBack) {
  using Call = fakes::FakeInputMethod::Call;
  AppHarness app;
  startWithPickedRecord(app, "me", "p@ss");
  Named<QRadioButton>(*app.main, "RadioButton_IntoPass2")->setChecked(true);
  app.hotKeys.press(login::TForm2::kPasswordHotKeyId);
  EXPECT_EQ(app.inputMethod.calls, std::vector<Call>({{"state", 0}})) << "an input method that is off stays off";

  app.inputMethod.current = platform::InputMethodState::kActive;
  app.inputMethod.calls.clear();
  app.keySink.events.clear();
  app.hotKeys.press(login::TForm2::kPasswordHotKeyId);
  EXPECT_EQ(input_test::DecodeUsTyping(app.keySink.events), "p@ss");
  EXPECT_EQ(app.inputMethod.calls,
            std::vector<Call>({{"state", 0}, {"direct", 0}, {"back", app.keySink.events.size()}}));
  EXPECT_EQ(app.inputMethod.current, platform::InputMethodState::kActive);

  app.inputMethod.calls.clear();
  app.keySink.events.clear();
  app.keySink.heldPolls = -1;  // typing refused after the switch: switched back all the same
  app.hotKeys.press(login::TForm2::kAccountHotKeyId);
  EXPECT_TRUE(app.keySink.events.empty());
  EXPECT_EQ(app.inputMethod.calls, std::vector<Call>({{"state", 0}, {"direct", 0}, {"back", 0}}));
  EXPECT_EQ(app.panel(0), "按键未松开,没有自动输入.");

  app.keySink.heldPolls = 0;
  app.inputMethod.refuseBack = true;
  app.hotKeys.press(login::TForm2::kAccountHotKeyId);
  EXPECT_EQ(input_test::DecodeUsTyping(app.keySink.events), "me");
  EXPECT_EQ(app.panel(0), "输入法未能恢复中文状态, 请手动切换.");
  EXPECT_TRUE(app.dialogs.asked.empty());
}

TEST(AutoFill, AnInputMethodThatCannotBeSwitchedGetsTheValuePasted) {
  for (bool refused : {false, true}) {
    AppHarness app;
    startWithPickedRecord(app, "me@example", "pw");
    Named<QRadioButton>(*app.main, "RadioButton_IntoPass2")->setChecked(true);
    app.inputMethod.current = refused ? platform::InputMethodState::kActive : platform::InputMethodState::kUnswitchable;
    app.inputMethod.refuseDirect = refused;
    app.hotKeys.press(login::TForm2::kAccountHotKeyId);
    EXPECT_EQ(QApplication::clipboard()->text(), "me@example");
    EXPECT_TRUE(Named<QTimer>(*app.main, "Timer_ClearClipbrd")->isActive()) << "cleared as after any paste";
    ASSERT_EQ(app.keySink.events.size(), 4u) << "Ctrl+V, nothing typed";
    EXPECT_EQ(app.keySink.events[1].virtualKey, 86);
    EXPECT_EQ(app.panel(0), "输入法处于中文状态, 已改用粘贴方式输入.");
    EXPECT_EQ(app.inputMethod.calls.back().what, refused ? "direct" : "state") << "nothing to switch back";
  }
}

TEST(AutoFill, ADesktopThatRefusesKeysGetsNoneAndAKeysymSinkGetsNonAsciiPastedUntilTheLock) {
  AppHarness app;
  startWithPickedRecord(app, "me", "密码ab");
  Named<QRadioButton>(*app.main, "RadioButton_IntoPass2")->setChecked(true);
  for (const auto& [readiness, status] :
       {std::pair{platform::FillReadiness::kRefused, "桌面未允许模拟键盘输入, 没有自动输入."},
        std::pair{platform::FillReadiness::kUnavailable,
                  "未找到桌面的远程桌面接口(xdg-desktop-portal), 没有自动输入."}}) {
    app.keySink.readiness = readiness;
    app.hotKeys.press(login::TForm2::kPasswordHotKeyId);
    EXPECT_TRUE(app.keySink.events.empty());
    EXPECT_EQ(app.panel(0), status);
  }
  EXPECT_EQ(app.keySink.fillsEnded, 0);

  app.keySink.readiness = platform::FillReadiness::kPrintableAsciiOnly;
  app.hotKeys.press(login::TForm2::kPasswordHotKeyId);
  EXPECT_EQ(QApplication::clipboard()->text(), "密码ab");
  ASSERT_EQ(app.keySink.events.size(), 4u) << "Ctrl+V, nothing typed";
  EXPECT_EQ(app.keySink.events[1].virtualKey, 86);
  EXPECT_EQ(app.panel(0), "内容含中文等非ASCII字符, 已改用粘贴方式输入.");
  app.keySink.events.clear();
  app.hotKeys.press(login::TForm2::kAccountHotKeyId);
  EXPECT_EQ(input_test::DecodeUsTyping(app.keySink.events), "me");
  EXPECT_EQ(app.keySink.fillsEnded, 2);
  EXPECT_TRUE(app.dialogs.asked.empty());

  EXPECT_EQ(app.keySink.sessionsClosed, 0);
  Named<QAction>(*app.main, "HideME")->trigger();
  EXPECT_EQ(app.keySink.sessionsClosed, 1) << "the desktop's consent ends with the unlock";
}

TEST(AutoFill, AnotherProcessAsksForAFillOnlyWhileUnlockedAndArmedAndAPlainSecondStartShowsTheWindow) {
  AppHarness app;
  app.makeDatabase();
  ASSERT_TRUE(app.create());
  app.runStartupCheck();
  EXPECT_EQ(Answer(app, "fill password"), "locked");
  app.typeLogin(AppHarness::kMaster);
  app.main->hide();
  EXPECT_EQ(Answer(app, "show"), "done");
  EXPECT_TRUE(app.main->isVisible());
  EXPECT_EQ(Answer(app, "fill password"), "disarmed") << "a request never arms";
  EXPECT_EQ(app.panel(0), "热键已停用, 单击记录重新启用.");
  EXPECT_TRUE(app.keySink.events.empty());

  app.addCategory("常用网站");
  app.exec("delete from data");
  app.addRecord("常用网站", "site", "me", "pw7");
  Named<QPushButton>(*app.main, "Button_Refresh")->click();
  app.pickRow(0);
  Named<QRadioButton>(*app.main, "RadioButton_IntoPass2")->setChecked(true);
  EXPECT_EQ(Answer(app, "fill password"), "done");
  EXPECT_EQ(input_test::DecodeUsTyping(app.keySink.events), "pw7") << "answered once the value is in";
  app.keySink.readiness = platform::FillReadiness::kRefused;
  EXPECT_EQ(Answer(app, "fill password"), "refused") << "nothing entered is no success";
  EXPECT_EQ(Answer(app, "fill everything"), "unknown");
}

TEST(AutoFill, TheDesktopsShortcutsAreBoundWhileUnlockedAndFillWhenLetGoWhileArmed) {
  AppHarness app;
  startWithPickedRecord(app, "me", "pw7");
  const std::vector<platform::GlobalShortcut>& bound = app.globalShortcuts.bound;
  ASSERT_EQ(bound.size(), 2u) << "bound at the login";
  EXPECT_EQ(bound[0].description, "输入帐号");
  EXPECT_EQ(bound[1].description, "输入密码");
  EXPECT_EQ(bound[1].preferredTrigger, "") << "Ctrl+→ is an editor key";
  Named<QRadioButton>(*app.main, "RadioButton_IntoPass2")->setChecked(true);
  app.globalShortcuts.press(bound[1].id);
  EXPECT_TRUE(app.keySink.events.empty()) << "nothing before the release";
  app.globalShortcuts.release(bound[1].id);
  EXPECT_EQ(input_test::DecodeUsTyping(app.keySink.events), "pw7");

  app.keySink.events.clear();
  app.login->releaseHotKeys();
  app.globalShortcuts.press(bound[0].id);
  app.globalShortcuts.release(bound[0].id);
  EXPECT_TRUE(app.keySink.events.empty());
  EXPECT_EQ(app.panel(0), "热键已停用, 单击记录重新启用.");

  app.pickRow(0);
  app.globalShortcuts.press(bound[0].id);
  Named<QAction>(*app.main, "HideME")->trigger();
  EXPECT_TRUE(bound.empty()) << "given back at a lock";
  app.globalShortcuts.release("account");
  EXPECT_TRUE(app.keySink.events.empty()) << "the lock dropped the waiting fill";
}

TEST(AutoFill, AFillWaitsForTheDesktopWithoutBlockingAPressMeanwhileFillsNextAndALockEndsItWithNothingLeftSwitched) {
  AppHarness app;
  startWithPickedRecord(app, "me", "pw7");
  Named<QRadioButton>(*app.main, "RadioButton_IntoPass2")->setChecked(true);
  app.hotKeys.afterPress = nullptr;  // the test follows the fill itself
  app.keySink.answerLater = true;
  app.hotKeys.press(login::TForm2::kPasswordHotKeyId);
  ASSERT_TRUE(app.keySink.pendingStart) << "the desktop is asking the user";
  auto firstAnswer = std::exchange(app.keySink.pendingStart, nullptr);
  app.hotKeys.press(login::TForm2::kAccountHotKeyId);
  EXPECT_FALSE(app.keySink.pendingStart) << "one fill at a time";
  firstAnswer(platform::FillReadiness::kReady);
  ASSERT_TRUE(QTest::qWaitFor([&] { return bool(app.keySink.pendingStart); })) << "the second press fills next";
  EXPECT_EQ(input_test::DecodeUsTyping(app.keySink.events), "pw7");
  std::exchange(app.keySink.pendingStart, nullptr)(platform::FillReadiness::kReady);
  app.waitForFill();
  EXPECT_EQ(input_test::DecodeUsTyping(app.keySink.events), "pw7me");

  // The user keeps the hot key down with the input method switched; then the screen is locked.
  app.keySink.events.clear();
  app.keySink.answerLater = false;
  app.keySink.heldPolls = -1;
  app.inputMethod.current = platform::InputMethodState::kActive;
  const int asked = app.keySink.heldQuestions;
  app.hotKeys.press(login::TForm2::kPasswordHotKeyId);
  ASSERT_TRUE(QTest::qWaitFor([&] { return app.keySink.heldQuestions > asked; })) << "switched, waiting for the keys";
  Named<QAction>(*app.main, "HideME")->trigger();
  app.waitForFill();
  EXPECT_EQ(app.inputMethod.calls.back().what, "back") << "switched back at the lock";
  EXPECT_EQ(app.keySink.fillsEnded, 3);
  app.keySink.heldPolls = 0;
  QTest::qWait(100);  // a wait that survived the lock would type at its next poll
  EXPECT_TRUE(app.keySink.events.empty()) << "nothing typed after the lock";
}
