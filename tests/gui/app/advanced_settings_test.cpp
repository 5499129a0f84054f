#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

#include "app/clipboard_group.h"
#include "app/generator_dialog.h"
#include "app/locking_group.h"
#include "login/tform2.h"
#include "platform/dialogs.h"
#include "settings/settings_file.h"
#include "tests/gui/app/app_harness.h"
#include "widgets/handler_guard.h"

TEST(AdvancedSettings, TheClipboardTimeIsSavedWithTheConfigurationAndTimesTheEmptying) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  QSpinBox* seconds = Named<QSpinBox>(*app.main, "SpinBox_ClipboardSeconds");
  EXPECT_EQ(seconds->value(), 60) << "without the key, the minute stands";
  EXPECT_EQ(Named<QLabel>(*app.main, "Label20")->text(), "2.当复制帐号或密码后1分钟程序会自动清空剪切板.");
  EXPECT_EQ(Named<QTimer>(*app.main, "Timer_ClearClipbrd")->interval(), 60000);

  seconds->setValue(90);
  EXPECT_EQ(Named<QTimer>(*app.main, "Timer_ClearClipbrd")->interval(), 60000) << "nothing changes before 保存配置";
  Named<QPushButton>(*app.main, "Button6")->click();
  EXPECT_EQ(settings::SettingsFile(app.folder()).read().clipboardSeconds, 90);
  EXPECT_EQ(Named<QLabel>(*app.main, "Label20")->text(), "2.当复制帐号或密码后90秒程序会自动清空剪切板.");
  EXPECT_EQ(Named<QTimer>(*app.main, "Timer_ClearClipbrd")->interval(), 90000);

  app.restart();
  app.startAndLogin();
  EXPECT_EQ(Named<QSpinBox>(*app.main, "SpinBox_ClipboardSeconds")->value(), 90);
  EXPECT_EQ(Named<QTimer>(*app.main, "Timer_ClearClipbrd")->interval(), 90000);
}

namespace {

// Opens the generator from the record form and lets `choose` act in it while it is shown.
template <typename Choose>
void useGenerator(AppHarness& app, Choose choose) {
  QTimer::singleShot(0, [&] { choose(*app.main->findChild<app::GeneratorDialog*>()); });
  Named<QPushButton>(*app.main, "Button_Generate")->click();
}

}  // namespace

TEST(AdvancedSettings, TheGeneratorFillsThePasswordAndRemembersItsChoiceOnlyWhenUsed) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  QString shown;
  useGenerator(app, [&](app::GeneratorDialog& dialog) {
    EXPECT_EQ(dialog.rules(), crypto::PasswordRules()) << "the defaults without Config.ini";
    Named<QSpinBox>(dialog, "SpinBox_Length")->setValue(20);
    Named<QCheckBox>(dialog, "CheckBox_Symbols")->setChecked(false);
    EXPECT_EQ(Named<QLineEdit>(dialog, "Edit_Preview")->text().size(), 20);
    Named<QPushButton>(dialog, "Button_Cancel")->click();
  });
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_MiMa")->text(), "");
  EXPECT_EQ(settings::SettingsFile(app.folder()).read().generator, crypto::PasswordRules()) << "取消 writes nothing";

  useGenerator(app, [&](app::GeneratorDialog& dialog) {
    Named<QSpinBox>(dialog, "SpinBox_Length")->setValue(24);
    Named<QCheckBox>(dialog, "CheckBox_Symbols")->setChecked(false);
    for (QCheckBox* box : {Named<QCheckBox>(dialog, "CheckBox_UpperCase"),
                           Named<QCheckBox>(dialog, "CheckBox_LowerCase"), Named<QCheckBox>(dialog, "CheckBox_Digits")})
      box->setChecked(false);
    EXPECT_FALSE(Named<QPushButton>(dialog, "Button_Use")->isEnabled()) << "nothing to draw from";
    Named<QCheckBox>(dialog, "CheckBox_Digits")->setChecked(true);
    shown = Named<QLineEdit>(dialog, "Edit_Preview")->text();
    Named<QPushButton>(dialog, "Button_Use")->click();
  });
  EXPECT_EQ(shown.size(), 24);
  EXPECT_EQ(shown.count(QRegularExpression("[2-9]")), 24) << "digits without the look-alikes 0 and 1";
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_MiMa")->text(), shown);
  crypto::PasswordRules expected;
  expected.length = 24;
  expected.upperCase = expected.lowerCase = expected.symbols = false;
  EXPECT_EQ(settings::SettingsFile(app.folder()).read().generator, expected);
  useGenerator(app, [&](app::GeneratorDialog& dialog) {
    EXPECT_EQ(dialog.rules(), expected) << "the next opening starts from the used choice";
    Named<QPushButton>(dialog, "Button_Cancel")->click();
  });
}

TEST(AdvancedSettings, LockingIsSavedWithTheConfigurationAndLocksAsTheTraysHideDoes) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  app.pickAnyRecord();
  app::LockingGroup& group = *Named<app::LockingGroup>(*app.main, "GroupBox_Locking");
  EXPECT_EQ(group.locking(), settings::LockingSettings()) << "without the keys: 10 idle minutes, screen lock locks";
  EXPECT_EQ(app.lockSignals.idleLimit, std::chrono::minutes(10));

  app.lockSignals.lockScreenOrSleep();
  EXPECT_FALSE(app.main->isVisible()) << "an old Config.ini now locks with the screen too";
  EXPECT_EQ(Named<QLineEdit>(*app.login, "Edit_LoginPass_Temp")->text(), "");
  EXPECT_TRUE(app.hotKeys.registered.empty()) << "a screen lock means the user left: the hot keys stop, box or not";
  Named<QAction>(*app.main, "ShowME")->trigger();
  app.typeLogin(AppHarness::kMaster);
  app.pickAnyRecord();
  Named<QPushButton>(*app.main, "Button_HIde")->click();
  EXPECT_EQ(app.hotKeys.registered.size(), 2u) << "最小化 without clearing keeps them working";

  app.restart();
  app.lockSignals.knowsIdleTime = false;  // a desktop without X11
  app.startAndLogin();
  EXPECT_FALSE(Named<QLabel>(*app.main, "Label_IdleTimeUnknown")->isHidden()) << "it says the idle lock cannot work";
  app.lockSignals.knowsIdleTime = true;
  Named<QSpinBox>(*app.main, "SpinBox_IdleMinutes")->setValue(5);
  Named<QCheckBox>(*app.main, "CheckBox_LockOnScreenLock")->setChecked(false);
  Named<QCheckBox>(*app.main, "CheckBox_ClearOnLock")->setChecked(true);
  Named<QPushButton>(*app.main, "Button6")->click();
  const settings::LockingSettings chosen{5, false, true};
  EXPECT_EQ(settings::SettingsFile(app.folder()).read().locking, chosen);
  EXPECT_EQ(app.lockSignals.idleLimit, std::chrono::minutes(5));
  EXPECT_TRUE(Named<QLabel>(*app.main, "Label_IdleTimeUnknown")->isHidden());
  app.lockSignals.lockScreenOrSleep();
  EXPECT_TRUE(app.main->isVisible()) << "screen locking was turned off";

  app.addCategory("常用网站");
  app.exec("delete from data");
  app.addRecord("常用网站", "site", "me", "pw");
  Named<QPushButton>(*app.main, "Button_Refresh")->click();
  app.pickRow(0);
  ASSERT_EQ(Named<QLineEdit>(*app.main, "Edit_MiMa_Temp")->text(), "pw");
  Named<QPushButton>(*app.main, "ButtonCopyEdit_MiMa")->click();
  app.lockSignals.stayIdle();
  EXPECT_FALSE(app.main->isVisible());
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_ZhangHao")->text(), "");
  EXPECT_EQ(Named<QLineEdit>(*app.main, "Edit_MiMa_Temp")->text(), "");
  EXPECT_EQ(QApplication::clipboard()->text(), "");
  EXPECT_TRUE(app.hotKeys.registered.empty()) << "clearing stops the hot keys until the next pick";
  EXPECT_GT(app.dialogs.closeAllCalls, 0);
  Named<QAction>(*app.main, "ShowME")->trigger();
  app.typeLogin(AppHarness::kMaster);
  EXPECT_TRUE(app.hotKeys.registered.empty());
  app.pickRow(0);
  EXPECT_EQ(app.hotKeys.registered.size(), 2u);

  app.restart();
  app.startAndLogin();
  EXPECT_EQ(Named<app::LockingGroup>(*app.main, "GroupBox_Locking")->locking(), chosen);
}

TEST(AdvancedSettings, ClosingAllDialogsEndsTheOperationThatAskedWithoutAWord) {
  platform::QtDialogs dialogs("keyhaven");
  QTimer::singleShot(0, [&] { dialogs.closeAll(); });
  EXPECT_THROW(dialogs.confirm("删除", "确定?"), platform::DialogsClosed);
  bool ranToTheEnd = false;
  QTimer::singleShot(0, [&] { dialogs.closeAll(); });
  EXPECT_TRUE(widgets::Guarded(dialogs, [&] {
                dialogs.input("重命名", "名称", "old");
                ranToTheEnd = true;
              }) == false);
  EXPECT_FALSE(ranToTheEnd);
}

TEST(AdvancedSettings, TheTabSavesItselfAndAskedOnceAboutChangesLeftUnsavedALockGivesThemUp) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  auto& tabs = *Named<QTabWidget>(*app.main, "PageControl1");
  QWidget* advanced = Named<QWidget>(*app.main, "TabSheet4");
  auto* idle = Named<QSpinBox>(*app.main, "SpinBox_IdleMinutes");
  const auto savedIdle = [&] { return settings::SettingsFile(app.folder()).read().locking.idleMinutes; };
  tabs.setCurrentWidget(advanced);
  idle->setValue(3);
  Named<QPushButton>(*app.main, "Button_SaveAdvanced")->click();
  EXPECT_EQ(savedIdle(), 3);
  EXPECT_EQ(app.lockSignals.idleLimit, std::chrono::minutes(3));
  tabs.setCurrentIndex(0);
  EXPECT_EQ(app.dialogs.texts(), QStringList{"配置保存成功！"}) << "nothing unsaved: no question";

  tabs.setCurrentWidget(advanced);
  idle->setValue(4);
  app.dialogs.confirmAnswers.push_back(false);
  tabs.setCurrentIndex(0);
  EXPECT_EQ(app.dialogs.texts("question"), QStringList{"高级设置已修改, 要保存吗?"});
  EXPECT_EQ(idle->value(), 3) << "No gives the change up";
  tabs.setCurrentWidget(advanced);
  idle->setValue(5);
  tabs.setCurrentIndex(1);
  EXPECT_EQ(savedIdle(), 5) << "Yes saves";
  EXPECT_EQ(app.dialogs.texts("question").size(), 2);

  tabs.setCurrentWidget(advanced);
  idle->setValue(6);
  Named<QAction>(*app.main, "HideME")->trigger();
  EXPECT_EQ(idle->value(), 5);
  EXPECT_EQ(app.panel(0), "高级设置的修改没有保存, 已放弃.");
  EXPECT_EQ(savedIdle(), 5);
  EXPECT_EQ(app.dialogs.texts("question").size(), 2) << "a lock does not ask";
}
