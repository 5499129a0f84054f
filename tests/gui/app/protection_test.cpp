// A database file protected with the master password, in the windows.
#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <filesystem>

#include "app/protection_group.h"
#include "store/protected_file.h"
#include "tests/gui/app/app_harness.h"
#include "vault/master_password.h"
#include "widgets/panel_status_bar.h"

namespace {

constexpr const char* kProtectedMaster = "abc12345";

// A file with one record, protected outside the windows.
void makeProtectedDatabase(AppHarness& app) {
  app.makeDatabase(kProtectedMaster);
  app.exec("insert into data (分类,标题,网址,帐号,密码,备注) values ('家庭网银','bank','','me','','')");
  vault::Vault vault;
  vault.open(app.folder(), crypto::kTestKeyParameters);
  vault.protectFile(kProtectedMaster);
}

// Types the password and waits for the derivation, during which nothing takes input.
void typeProtectedLogin(AppHarness& app, const QString& password) {
  app.typeLogin(password);
  EXPECT_EQ(Named<widgets::PanelStatusBar>(*app.login, "StatusBar1")->panelText(0), "正在验证管理密码...");
  EXPECT_FALSE(Named<QPushButton>(*app.login, "Button_Logining")->isEnabled());
  EXPECT_FALSE(Named<QLineEdit>(*app.login, "Edit_LoginPass")->isEnabled());
  ASSERT_TRUE(QTest::qWaitFor([&] { return Named<QPushButton>(*app.login, "Button_Logining")->isEnabled(); }, 10000));
}

}  // namespace

TEST(ProtectedFile, TheLoginOpensItFromThePasswordAndCountsAWrongOne) {
  AppHarness app;
  makeProtectedDatabase(app);
  app.keys = login::SessionKeys(crypto::kTestKeyParameters);
  ASSERT_TRUE(app.create());
  app.runStartupCheck();
  ASSERT_TRUE(app.login->isVisible()) << "the login comes first";
  EXPECT_TRUE(app.dialogs.asked.empty());

  typeProtectedLogin(app, "abc1234");
  EXPECT_TRUE(app.login->isVisible());
  EXPECT_EQ(Named<widgets::PanelStatusBar>(*app.login, "StatusBar1")->panelText(0), "密码错误...1次");
  EXPECT_TRUE(Named<QLineEdit>(*app.login, "Edit_LoginPass")->isEnabled());

  typeProtectedLogin(app, kProtectedMaster);
  EXPECT_FALSE(app.login->isVisible());
  ASSERT_TRUE(app.main->isVisible());
  EXPECT_EQ(app.gridRowCount(), 1);
  EXPECT_EQ(app.gridText(0, 1), "家庭网银");
  EXPECT_TRUE(app.main->vault().isProtected());
  EXPECT_FALSE(app.main->vault().databaseKey().empty()) << "read right after the open";

  Named<QPushButton>(*app.main, "Button_CheckLogin")->click();  // the lock: a login again, against the held key
  ASSERT_TRUE(app.login->isVisible());
  typeProtectedLogin(app, "abc1234");
  EXPECT_EQ(Named<widgets::PanelStatusBar>(*app.login, "StatusBar1")->panelText(0), "密码错误...2次");
  typeProtectedLogin(app, "abc1234");
  EXPECT_TRUE(app.dialogs.texts().contains("由于您多次输入了无效的密码程序将要退出..."));
}

TEST(ProtectedFile, TheAdvancedTabTurnsProtectionOnAndOffWithTheMasterPassword) {
  AppHarness app;
  app.makeDatabase(kProtectedMaster);
  app.keys = login::SessionKeys(crypto::kTestKeyParameters);
  app.startAndLogin(kProtectedMaster);
  auto* group = Named<app::ProtectionGroup>(*app.main, "GroupBox_Protection");
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(Named<QLabel>(*group, "Label_FileState")->text(), "数据库文件未加密: 拿到 _.udb 的人可以读出全部密码.");
  EXPECT_EQ(Named<QPushButton>(*group, "Button_Protect")->text(), "用管理密码加密");

  app.dialogs.inputAnswers = {"abc1234"};  // not the login's
  Named<QPushButton>(*group, "Button_Protect")->click();
  EXPECT_FALSE(app.main->vault().fileIsProtected());

  app.addCategory("常用网站");
  app.addRecord("常用网站", "site", "me", "pw");
  app.pickAnyRecord();
  Named<QLineEdit>(*app.main, "Edit_BiaoTi")->setText("changed");
  app.dialogs.inputAnswers = {kProtectedMaster};
  app.dialogs.confirmAnswers = {true, false};  // protect, but leave the backups as they are
  Named<QPushButton>(*group, "Button_Protect")->click();
  EXPECT_FALSE(app.main->isEnabled()) << "nothing takes input while the file is rewritten";
  EXPECT_EQ(app.panel(0), "正在加密数据库文件...");
  Named<QPushButton>(*app.main, "Button2")->click();  // 修改 meanwhile is refused
  ASSERT_TRUE(QTest::qWaitFor([&] { return app.main->isEnabled(); }));
  EXPECT_TRUE(app.dialogs.texts().contains("数据库文件和 0 个备份已用管理密码加密."));
  EXPECT_TRUE(app.dialogs.texts("question").first().endsWith("\n忘记管理密码后, 任何人都无法恢复数据."));
  Named<QPushButton>(*app.main, "Button2")->click();
  app.main->vault().listByUsage();
  EXPECT_EQ(app.main->vault().listedRecord(0).title, "changed") << "the refused change was kept in the form";
  EXPECT_TRUE(app.main->vault().fileIsProtected());
  EXPECT_EQ(Named<QLabel>(*group, "Label_FileState")->text(), "数据库文件已用管理密码加密.");
  EXPECT_EQ(Named<QPushButton>(*group, "Button_Protect")->text(), "取消加密");
  EXPECT_TRUE(app.dialogs.texts().contains("未加密的备份仍能读出当前的管理密码和全部帐号密码."));
  EXPECT_EQ(app.dialogs.texts("password"), (QStringList{"请输入管理密码", "请输入管理密码"}));
  EXPECT_EQ(app.gridRowCount(), app.main->vault().listByUsage()) << "the open window goes on";

  app.restart();
  app.keys = login::SessionKeys(crypto::kTestKeyParameters);
  ASSERT_TRUE(app.create());
  app.runStartupCheck();
  ASSERT_TRUE(app.login->isVisible());
  typeProtectedLogin(app, kProtectedMaster);
  ASSERT_TRUE(app.main->isVisible());
  group = Named<app::ProtectionGroup>(*app.main, "GroupBox_Protection");
  group->refresh();
  EXPECT_EQ(Named<QPushButton>(*group, "Button_Protect")->text(), "取消加密");

  app.dialogs.confirmAnswers = {true};
  app.dialogs.inputAnswers = {kProtectedMaster};
  Named<QPushButton>(*group, "Button_Protect")->click();
  EXPECT_FALSE(app.main->vault().fileIsProtected());
  EXPECT_EQ(Named<QPushButton>(*group, "Button_Protect")->text(), "用管理密码加密");
  EXPECT_TRUE(vault::IsMasterPassword(kProtectedMaster, app.keys.storedMasterPassword()));
}

TEST(ProtectedFile, AfterTheInitialPasswordTheOfferSetsOnesOwnProtectsFileAndBackupsAndTheProgramGoesOn) {
  AppHarness app;
  app.makeDatabase();
  app.keys = login::SessionKeys(crypto::kTestKeyParameters);
  app.dialogs.newPasswordAnswers = {
      {"abc12345", "abc12346", true}, {"abc1", "abc1", true}, {kProtectedMaster, kProtectedMaster, true}};
  app.startAndLogin();
  EXPECT_EQ(app.dialogs.newPasswordOffers, (std::vector<bool>{true, true, true}));
  EXPECT_EQ(app.dialogs.texts().first(), "两次输入的密码不相同.");
  EXPECT_EQ(app.dialogs.texts("confirm").size(), 1) << "the weak one was warned about and refused";
  EXPECT_FALSE(app.main->isEnabled());
  app.lockSignals.lockScreenOrSleep();
  EXPECT_TRUE(app.main->isVisible()) << "the program goes on, and a lock waits for the rewrite's end";
  ASSERT_TRUE(QTest::qWaitFor([&] { return !app.main->isVisible(); }));
  EXPECT_TRUE(
      app.dialogs.texts().last().contains(QRegularExpression("^数据库文件和 [1-9]\\d* 个备份已用管理密码加密.$")));
  for (const auto& entry : std::filesystem::directory_iterator(app.folder().toStdString())) {
    const std::string file = entry.path().string();
    EXPECT_TRUE(!file.ends_with(".udb") || store::ClassifyDatabaseFile(file) == store::DatabaseFileKind::kProtected)
        << file << " would still give the initial password away";
  }

  Named<QAction>(*app.main, "ShowME")->trigger();
  typeProtectedLogin(app, kProtectedMaster);
  EXPECT_TRUE(app.main->isVisible());

  AppHarness later;
  later.makeDatabase();
  later.startAndLogin();
  Named<QAction>(*later.main, "HideME")->trigger();
  Named<QAction>(*later.main, "ShowME")->trigger();
  later.typeLogin(AppHarness::kMaster);
  EXPECT_EQ(later.dialogs.newPasswordOffers.size(), 1u) << "以后再说 holds until the next start, not the next unlock";
  later.restart();
  later.startAndLogin();
  EXPECT_EQ(later.dialogs.newPasswordOffers.size(), 2u);
}
