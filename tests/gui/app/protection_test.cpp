// A database file protected with the master password, in the windows.
#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/protection_group.h"
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
  EXPECT_FALSE(app.login->Button_Logining->isEnabled());
  EXPECT_FALSE(app.login->Edit_LoginPass->isEnabled());
  ASSERT_TRUE(QTest::qWaitFor([&] { return app.login->Button_Logining->isEnabled(); }, 10000));
}

}  // namespace

TEST(ProtectedFile, TheLoginOpensItFromThePasswordAndCountsAWrongOne) {
  AppHarness app;
  makeProtectedDatabase(app);
  app.keys.keyParameters = crypto::kTestKeyParameters;
  ASSERT_TRUE(app.create());
  app.runStartupCheck();
  ASSERT_TRUE(app.login->isVisible()) << "the login comes first";
  EXPECT_TRUE(app.dialogs.asked.empty());

  typeProtectedLogin(app, "abc1234");
  EXPECT_TRUE(app.login->isVisible());
  EXPECT_EQ(app.login->StatusBar1->panelText(0), "密码错误...1次");
  EXPECT_TRUE(app.login->Edit_LoginPass->isEnabled());

  typeProtectedLogin(app, kProtectedMaster);
  EXPECT_FALSE(app.login->isVisible());
  ASSERT_TRUE(app.main->isVisible());
  EXPECT_EQ(app.gridRowCount(), 1);
  EXPECT_EQ(app.gridText(0, 1), "家庭网银");
  EXPECT_TRUE(app.main->vault().isProtected());
  EXPECT_FALSE(app.main->vault().databaseKey().empty()) << "read right after the open";

  app.main->Button_CheckLogin->click();  // the lock: a login again, against the held key
  ASSERT_TRUE(app.login->isVisible());
  typeProtectedLogin(app, "abc1234");
  EXPECT_EQ(app.login->StatusBar1->panelText(0), "密码错误...2次");
  typeProtectedLogin(app, "abc1234");
  EXPECT_TRUE(app.dialogs.texts().contains("由于您多次输入了无效的密码程序将要退出..."));
}

TEST(ProtectedFile, TheAdvancedTabTurnsProtectionOnAndOffWithTheMasterPassword) {
  AppHarness app;
  app.makeDatabase(kProtectedMaster);
  app.keys.keyParameters = crypto::kTestKeyParameters;
  app.startAndLogin(kProtectedMaster);
  auto* group = app.main->findChild<ProtectionGroup*>("GroupBox_Protection");
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->Label_FileState->text(), "数据库文件未加密: 拿到 _.udb 的人可以读出全部密码.");
  EXPECT_EQ(group->Button_Protect->text(), "用管理密码加密");

  app.dialogs.inputAnswers = {"abc1234"};  // not the login's
  group->Button_Protect->click();
  EXPECT_FALSE(app.main->vault().fileIsProtected());

  app.dialogs.inputAnswers = {kProtectedMaster};
  app.dialogs.confirmAnswers = {false};  // leave the backups as they are
  group->Button_Protect->click();
  EXPECT_TRUE(app.main->vault().fileIsProtected());
  EXPECT_EQ(group->Label_FileState->text(), "数据库文件已用管理密码加密.");
  EXPECT_EQ(group->Button_Protect->text(), "取消加密");
  EXPECT_TRUE(app.dialogs.texts().contains("未加密的备份仍能读出当前的管理密码和全部帐号密码."));
  EXPECT_EQ(app.dialogs.texts("password"), (QStringList{"请输入管理密码", "请输入管理密码"}));
  EXPECT_EQ(app.gridRowCount(), app.main->vault().listByUsage()) << "the open window goes on";

  app.restart();
  app.keys.keyParameters = crypto::kTestKeyParameters;
  ASSERT_TRUE(app.create());
  app.runStartupCheck();
  ASSERT_TRUE(app.login->isVisible());
  typeProtectedLogin(app, kProtectedMaster);
  ASSERT_TRUE(app.main->isVisible());
  group = app.main->findChild<ProtectionGroup*>("GroupBox_Protection");
  group->refresh();
  EXPECT_EQ(group->Button_Protect->text(), "取消加密");

  app.dialogs.confirmAnswers = {true};
  app.dialogs.inputAnswers = {kProtectedMaster};
  group->Button_Protect->click();
  EXPECT_FALSE(app.main->vault().fileIsProtected());
  EXPECT_EQ(group->Button_Protect->text(), "用管理密码加密");
  EXPECT_TRUE(vault::IsMasterPassword(kProtectedMaster, app.keys.storedMasterPassword));
}
