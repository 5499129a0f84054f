#include <gtest/gtest.h>
#include <QAction>
#include <QFile>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include "app/hot_key_group.h"
#include "input/hot_key_arming.h"
#include "login/tform2.h"
#include "platform/hot_keys.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "tests/gui/app/app_harness.h"

namespace {

constexpr unsigned kCtrlAlt = platform::kModControl | platform::kModAlt;
const QString kDefaultHint = "小技巧:ctrl + ← 自动输入帐号 Ctrl + → 自动输入密码.";

void choose(QKeySequenceEdit* field, const char* portableText) {
  field->setKeySequence(QKeySequence::fromString(portableText, QKeySequence::PortableText));
}

// The raw value of a key in Config.ini; "absent" when the key is not there.
std::string storedKey(AppHarness& app, const char* key) {
  return settings::IniFile((app.folder() + settings::SettingsFile::kFileName).toStdString())
      .readString(settings::SettingsFile::kSection, key, "absent");
}

}  // namespace

TEST(HotKeys, ChosenCombinationsAreSavedRegisteredAtOnceAndNamedInTheTips) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  app.pickAnyRecord();
  app::HotKeyGroup& group = *Named<app::HotKeyGroup>(*app.main, "GroupBox_HotKeys");
  EXPECT_EQ(group.hotKeys(), settings::HotKeySettings()) << "without Config.ini, Ctrl+Left and Ctrl+Right";
  EXPECT_EQ(Named<QLabel>(*app.main, "Label22")->text(), kDefaultHint);
  EXPECT_EQ(Named<QLabel>(*app.main, "Label16")->text(), kDefaultHint);

  choose(Named<QKeySequenceEdit>(group, "KeySequenceEdit_Password"), "Ctrl+Alt+P, Ctrl+X");
  Named<QPushButton>(*app.main, "Button6")->click();
  EXPECT_EQ(app.dialogs.texts(), QStringList{"配置保存成功！"});
  EXPECT_EQ(storedKey(app, "密码热键"), "Ctrl+Alt+P") << "only the first chord is kept";
  EXPECT_EQ(storedKey(app, "帐号热键"), "Ctrl+Left");
  EXPECT_EQ(app.hotKeys.registered[login::TForm2::kPasswordHotKeyId], (fakes::HotKeyCombination{kCtrlAlt, 'P'}));
  ASSERT_EQ(app.globalShortcuts.bound.size(), 2u);
  EXPECT_EQ(app.globalShortcuts.bound[1].preferredTrigger, "CTRL+ALT+p") << "bound anew";
  EXPECT_EQ(app.hotKeys.registered[login::TForm2::kAccountHotKeyId],
            (fakes::HotKeyCombination{platform::kModControl, 37}));
  const QString hint = "小技巧:Ctrl+Left 自动输入帐号 Ctrl+Alt+P 自动输入密码.";
  EXPECT_EQ(Named<QLabel>(*app.main, "Label22")->text(), hint);
  EXPECT_EQ(Named<QLabel>(*app.main, "Label16")->text(), hint);

  app.restart();
  app.startAndLogin();
  app.pickAnyRecord();
  EXPECT_EQ(Named<app::HotKeyGroup>(*app.main, "GroupBox_HotKeys")->hotKeys(),
            (settings::HotKeySettings{"Ctrl+Left", "Ctrl+Alt+P"}));
  EXPECT_EQ(app.hotKeys.registered[login::TForm2::kPasswordHotKeyId], (fakes::HotKeyCombination{kCtrlAlt, 'P'}));
  EXPECT_EQ(Named<QLabel>(*app.main, "Label22")->text(), hint);
}

TEST(HotKeys, AnEqualPairOrOneWithoutCtrlAltOrMetaIsRefusedAndNothingIsWritten) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  app.pickAnyRecord();
  app::HotKeyGroup& group = *Named<app::HotKeyGroup>(*app.main, "GroupBox_HotKeys");
  const struct {
    const char* account;
    const char* password;
    const char* said;
  } refused[] = {{"Ctrl+Left", "Ctrl+Left", "“输入帐号”和“输入密码”不能使用同一个热键 Ctrl+Left."},
                 {"Shift+P", "Ctrl+Right", "“输入帐号”的热键须含有 Ctrl、Alt 或 Meta 键."},
                 {"Ctrl+Left", "", "“输入密码”的热键须含有 Ctrl、Alt 或 Meta 键."}};
  for (const auto& choice : refused) {
    app.dialogs.asked.clear();
    choose(Named<QKeySequenceEdit>(group, "KeySequenceEdit_Account"), choice.account);
    choose(Named<QKeySequenceEdit>(group, "KeySequenceEdit_Password"), choice.password);
    Named<QPushButton>(*app.main, "Button6")->click();
    EXPECT_EQ(app.dialogs.texts(), QStringList{QString(choice.said) + "\n配置没有保存."}) << choice.said;
  }
  EXPECT_FALSE(QFile::exists(app.folder() + settings::SettingsFile::kFileName)) << "not even the auto-fill mode";
  EXPECT_EQ(app.hotKeys.registered[login::TForm2::kAccountHotKeyId],
            (fakes::HotKeyCombination{platform::kModControl, 37}));
  EXPECT_EQ(app.hotKeys.registered[login::TForm2::kPasswordHotKeyId],
            (fakes::HotKeyCombination{platform::kModControl, 39}));
  EXPECT_EQ(Named<QLabel>(*app.main, "Label22")->text(), kDefaultHint);
}

TEST(HotKeys, ACombinationAnotherProgramHoldsIsReportedNotWrittenAndTheOldOneStays) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  app.pickAnyRecord();
  app.hotKeys.taken.insert('P');
  app::HotKeyGroup& group = *Named<app::HotKeyGroup>(*app.main, "GroupBox_HotKeys");
  choose(Named<QKeySequenceEdit>(group, "KeySequenceEdit_Account"), "Ctrl+Alt+A");
  choose(Named<QKeySequenceEdit>(group, "KeySequenceEdit_Password"), "Ctrl+Alt+P");
  Named<QPushButton>(*app.main, "Button6")->click();
  ASSERT_EQ(app.dialogs.texts().size(), 2);
  EXPECT_EQ(app.dialogs.texts()[0], "热键 Ctrl+Alt+P 已被其他程序占用，无法用它自动输入。");
  EXPECT_EQ(storedKey(app, "帐号热键"), "Ctrl+Alt+A");
  EXPECT_EQ(storedKey(app, "密码热键"), "absent");
  EXPECT_EQ(app.hotKeys.registered[login::TForm2::kAccountHotKeyId], (fakes::HotKeyCombination{kCtrlAlt, 'A'}));
  EXPECT_EQ(app.hotKeys.registered[login::TForm2::kPasswordHotKeyId],
            (fakes::HotKeyCombination{platform::kModControl, 39}))
      << "the old password key still works";
  EXPECT_EQ(group.hotKeys(), (settings::HotKeySettings{"Ctrl+Alt+A", "Ctrl+Right"}))
      << "the field shows what is in force";
  EXPECT_EQ(Named<QLabel>(*app.main, "Label22")->text(), "小技巧:Ctrl+Alt+A 自动输入帐号 Ctrl+Right 自动输入密码.");
}

TEST(HotKeys, TheHotKeysLetGoWhileAFieldRecordsAndComeBackAfterwards) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  app.pickAnyRecord();
  app.main->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(app.main.get()));
  app::HotKeyGroup& group = *Named<app::HotKeyGroup>(*app.main, "GroupBox_HotKeys");
  Named<QTabWidget>(*app.main, "PageControl1")->setCurrentWidget(Named<QWidget>(*app.main, "TabSheet4"));

  Named<QKeySequenceEdit>(group, "KeySequenceEdit_Account")->setFocus();
  EXPECT_TRUE(app.hotKeys.registered.empty()) << "Ctrl+Right must reach the field, not fill";
  const int registrations = app.hotKeys.registerCalls;
  Named<QKeySequenceEdit>(group, "KeySequenceEdit_Password")->setFocus();
  EXPECT_TRUE(app.hotKeys.registered.empty());
  Named<QPushButton>(*app.main, "Button6")->setFocus();
  EXPECT_EQ(app.hotKeys.registered.size(), 2u);
  EXPECT_EQ(app.hotKeys.registerCalls, registrations + 2) << "once, not at the move between the fields";

  // A lock that turns the hot keys off while a field records: leaving the field keeps them off.
  Named<QKeySequenceEdit>(group, "KeySequenceEdit_Password")->setFocus();
  app.login->releaseHotKeys();
  Named<QPushButton>(*app.main, "Button6")->setFocus();
  EXPECT_TRUE(app.hotKeys.registered.empty());
}

TEST(HotKeys, APickArmsThemForTheChosenMinutesAndThenTheyReachOtherProgramsAgain) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  auto* minutes = Named<QSpinBox>(*app.main, "SpinBox_ArmedMinutes");
  EXPECT_EQ(minutes->value(), 2);
  minutes->setValue(0);
  Named<QPushButton>(*app.main, "Button6")->click();
  EXPECT_EQ(storedKey(app, "选中记录后热键有效分钟"), "0");

  // The minutes are what the user chooses; the run-out itself is the same for any time.
  auto* arming = Named<input::HotKeyArming>(*app.login, "HotKeyArming");
  arming->setArmedTime(std::chrono::milliseconds(20));
  app.pickAnyRecord();
  EXPECT_EQ(app.hotKeys.registered.size(), 2u);
  ASSERT_TRUE(QTest::qWaitFor([&] { return app.hotKeys.registered.empty(); }));
  EXPECT_EQ(app.panel(0), "热键已停用, 单击记录重新启用.");
  app.hotKeys.press(login::TForm2::kPasswordHotKeyId);
  EXPECT_TRUE(app.keySink.events.empty()) << "a released key types nothing";
  app.pickRow(0);
  EXPECT_EQ(app.hotKeys.registered.size(), 2u) << "the next pick arms them again";
}

TEST(HotKeys, OnAWaylandSessionTheGroupNamesTheCommandsToBindAndProposesOtherKeysThanEditorKeys) {
  const QByteArray session = qgetenv("XDG_SESSION_TYPE"), display = qgetenv("WAYLAND_DISPLAY");
  qunsetenv("WAYLAND_DISPLAY");
  qputenv("XDG_SESSION_TYPE", "x11");
  AppHarness x11;
  x11.makeDatabase();
  x11.startAndLogin();
  EXPECT_TRUE(x11.main->findChildren<QLabel*>("Label_WaylandAdvice").isEmpty()) << "X11 needs no advice";
  qputenv("XDG_SESSION_TYPE", "wayland");
  const QByteArray desktop = qgetenv("XDG_CURRENT_DESKTOP"), path = qgetenv("PATH");
  qputenv("XDG_CURRENT_DESKTOP", "GNOME");
  AppHarness wayland;
  wayland.makeDatabase();
  wayland.startAndLogin();
  // A gsettings that answers late and fails: the window goes on meanwhile and then says so.
  const QString slowGSettings = wayland.folder() + "gsettings";
  QFile script(slowGSettings);
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write("#!/bin/sh\nsleep 0.3\nexit 1\n");
  script.close();
  script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
  qputenv("PATH", wayland.folder().toLocal8Bit() + ":" + path);
  auto* write = Named<QPushButton>(*wayland.main, "Button_WriteGnomeShortcuts");
  write->click();
  EXPECT_FALSE(write->isEnabled()) << "gsettings runs beside the window";
  ASSERT_TRUE(QTest::qWaitFor([write] { return write->isEnabled(); }, 5000));
  EXPECT_EQ(Named<QLabel>(*wayland.main, "Label_GnomeShortcuts")->text(), "无法写入 GNOME 的快捷键设置(gsettings).");
  qputenv("PATH", path);
  qputenv("XDG_CURRENT_DESKTOP", desktop);
  EXPECT_TRUE(Named<QLabel>(*wayland.main, "Label_WaylandAdvice")->text().contains("\"keyhaven --fill password\""));
  auto* warning = Named<QLabel>(*wayland.main, "Label_EditorKeyWarning");
  EXPECT_FALSE(warning->isHidden()) << "Ctrl+← and Ctrl+→ are editor keys";
  choose(Named<QKeySequenceEdit>(*wayland.main, "KeySequenceEdit_Account"), "Ctrl+Alt+P");
  Named<QPushButton>(*wayland.main, "Button_ProposedHotKeys")->click();
  EXPECT_EQ(Named<app::HotKeyGroup>(*wayland.main, "GroupBox_HotKeys")->hotKeys(),
            (settings::HotKeySettings{"Ctrl+Alt+P", "Ctrl+Alt+2"}))
      << "only the editor key is replaced";
  EXPECT_TRUE(warning->isHidden());
  qputenv("XDG_SESSION_TYPE", session);
  qputenv("WAYLAND_DISPLAY", display);
}
