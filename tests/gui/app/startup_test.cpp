#include <gtest/gtest.h>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

#include <clocale>

#include "crypto/protected_field.h"
#include "platform/instance_guard.h"
#include "tests/gui/app/app_harness.h"

TEST(Startup, WithoutDatabaseShowsTheMessageAndEndsWithoutMakingAnything) {
  AppHarness app;
  EXPECT_FALSE(app.create());
  EXPECT_EQ(app.dialogs.texts(), QStringList{"没有发现数据库\"_.udb\"文件."});
  EXPECT_TRUE(app.main->vault().connection().connectionString().empty());
  EXPECT_FALSE(Named<QTimer>(*app.main, "Timer_CheckLogin")->isActive());
  EXPECT_TRUE(Named<QTimer>(*app.main, "Timer_CloseMe")->isActive());
  EXPECT_FALSE(QFile::exists(app.folder() + "_.udb"));
  EXPECT_FALSE(QFile::exists(app.folder() + "../Desktop/钥匣个人版.desktop"));
  app.main->Timer_CloseMeTimer();
  EXPECT_TRUE(app.main->hasClosed());
  EXPECT_FALSE(app.login->isVisible());
}

TEST(Startup, CreationSetsCaptionConnectionAndShortcut) {
  AppHarness app;
  app.makeDatabase();
  ASSERT_TRUE(app.create());
  EXPECT_EQ(app.main->windowTitle(), "钥匣个人版ver:1.81.20130204");
  EXPECT_FALSE(app.main->isVisible()) << "the main window waits for a login";
  EXPECT_EQ(app.main->vault().connection().connectionString(),
            "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + app.folder().toStdString() +
                "_.udb;Persist Security Info=False;Jet OLEDB:Database Password=kv7Rq2mZx9Tb");
  EXPECT_FALSE(app.main->vault().connection().isOpen()) << "nothing is opened before the start-up check";
  EXPECT_TRUE(Named<QTimer>(*app.main, "Timer_CheckLogin")->isActive());
  QFileInfo shortcut(app.folder() + "../Desktop/钥匣个人版.desktop");
  ASSERT_TRUE(shortcut.exists());
  EXPECT_TRUE(shortcut.isExecutable());
  QFile file(shortcut.absoluteFilePath());
  file.open(QIODevice::ReadOnly);
  EXPECT_TRUE(file.readAll().contains("Name=钥匣个人版"));
}

TEST(Startup, FirstStartDrawsAKeyThatLaterStartsKeep) {
  AppHarness app;
  app.makeDatabase();
  EXPECT_EQ(app.scalar("select 序列号 from EnCrypt"), "0");
  ASSERT_TRUE(app.create());
  app.runStartupCheck();
  EXPECT_EQ(app.scalar("select 序列号 from EnCrypt"), "0") << "nothing is drawn before the password is right";
  EXPECT_FALSE(Named<QTimer>(*app.main, "Timer_CheckLogin")->isActive()) << "the check runs once";

  app.typeLogin("123456");
  std::string key = app.scalar("select 序列号 from EnCrypt");
  EXPECT_FALSE(key.empty());
  EXPECT_NE(key.front(), '0');
  EXPECT_EQ(app.main->vault().databaseKey(), key);
  app.addCategory("工作邮箱");
  app.addRecord("工作邮箱", "mail", "me", "s3cret");
  app.restart();
  app.startAndLogin();
  EXPECT_EQ(app.scalar("select 序列号 from EnCrypt"), key);
  auto stored = app.scalar("select 密码 from data where 标题='mail'");
  EXPECT_EQ(crypto::RevealField(stored, app.main->vault().databaseKey()), "s3cret");
}

TEST(Startup, TheGateShowsTheLoginWindowOrEndsSilentlyWithoutAMasterPassword) {
  AppHarness app;
  app.makeDatabase();
  ASSERT_TRUE(app.create());
  app.runStartupCheck();
  EXPECT_TRUE(app.login->isVisible());
  EXPECT_EQ(app.login->windowTitle(), "管理登录");
  EXPECT_FALSE(app.main->isVisible());
  EXPECT_EQ(app.keys.storedMasterPassword().toStdString(), crypto::MasterPasswordCipher("123456"));

  app.restart();
  app.exec("update Pass set 密码=''");
  ASSERT_TRUE(app.create());
  app.runStartupCheck();
  EXPECT_TRUE(app.main->hasClosed());
  EXPECT_FALSE(app.login->isVisible());
  EXPECT_TRUE(app.dialogs.asked.empty()) << "no message when no master password is stored";
}

TEST(Startup, AFailingCheckIsShownOnceAndEndsTheProgram) {
  AppHarness app;
  QFile garbage(app.folder() + "_.udb");
  garbage.open(QIODevice::WriteOnly);
  garbage.write(QByteArray(1000, 'x'));  // from 1024 bytes on, it would be taken for protected
  garbage.close();
  ASSERT_TRUE(app.create());
  app.runStartupCheck();
  app.runStartupCheck();  // a later tick, had the timer gone on
  EXPECT_EQ(app.dialogs.texts("error").size(), 1);
  EXPECT_TRUE(app.main->hasClosed());
  EXPECT_FALSE(Named<QTimer>(*app.main, "Timer_CheckLogin")->isActive());
  EXPECT_FALSE(app.login->isVisible());
  QFile after(app.folder() + "_.udb");
  after.open(QIODevice::ReadOnly);
  EXPECT_EQ(after.readAll(), QByteArray(1000, 'x')) << "a file that is not a database is never written";
}

namespace {

// The locale of the environment LOCPATH/LC_ALL name, taken up as QApplication does at start.
class ScopedEnvironmentLocale {
 public:
  ScopedEnvironmentLocale(const QString& folder, const QByteArray& name)
      : oldLocale_(std::setlocale(LC_ALL, nullptr)), oldPath_(qgetenv("LOCPATH")), oldAll_(qgetenv("LC_ALL")) {
    qputenv("LOCPATH", folder.toUtf8());
    qputenv("LC_ALL", name);
    taken_ = std::setlocale(LC_ALL, "") != nullptr;
  }
  ~ScopedEnvironmentLocale() {
    oldPath_.isNull() ? qunsetenv("LOCPATH") : qputenv("LOCPATH", oldPath_);
    oldAll_.isNull() ? qunsetenv("LC_ALL") : qputenv("LC_ALL", oldAll_);
    std::setlocale(LC_ALL, oldLocale_.c_str());
  }
  bool taken() const { return taken_; }

 private:
  std::string oldLocale_;
  QByteArray oldPath_, oldAll_;
  bool taken_ = false;
};

}  // namespace

// Under tr_TR the C library lowercases 'I' to itself, so "Persist Security Info" is no key there.
TEST(Startup, OpensTheDatabaseAndLogsInUnderATurkishLocale) {
  if (QStandardPaths::findExecutable("localedef").isEmpty()) GTEST_SKIP() << "localedef is missing";
  QTemporaryDir locales;
  const QString folder = locales.path() + "/loc";
  QDir().mkpath(folder);
  ASSERT_EQ(QProcess::execute("localedef", {"-i", "tr_TR", "-f", "UTF-8", folder + "/tr_TR.UTF-8"}), 0);

  AppHarness app;
  app.makeDatabase();
  ScopedEnvironmentLocale turkish(folder, "tr_TR.UTF-8");
  ASSERT_TRUE(turkish.taken());
  app.startAndLogin();
  app.addCategory("Info");
  app.addRecord("Info", "Issue", "me", "pw");
  EXPECT_TRUE(app.dialogs.texts("error").isEmpty()) << app.dialogs.texts("error").join('\n').toStdString();
  EXPECT_TRUE(app.main->isVisible());
  EXPECT_EQ(app.scalar("select 帐号 from data where 标题='Issue'"), "me");
}

TEST(Startup, ASecondInstanceCannotHaveTheGuard) {
  QTemporaryDir runtime;
  QByteArray old = qgetenv("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
  {
    platform::InstanceGuard first("钥匣");
    platform::InstanceGuard second("钥匣");
    EXPECT_TRUE(first.acquired());
    EXPECT_FALSE(second.acquired());
  }
  platform::InstanceGuard afterEnd("钥匣");
  EXPECT_TRUE(afterEnd.acquired()) << "the guard goes with the process that held it";
  qputenv("XDG_RUNTIME_DIR", old);
}

TEST(Startup, TheClockShowsDateAndTime) {
  AppHarness app;
  app.makeDatabase();
  ASSERT_TRUE(app.create());
  app.main->Timer1Timer();
  QString clock = app.panel(2);
  EXPECT_TRUE(clock.contains(' '));
  EXPECT_TRUE(clock.contains(QString::number(QDate::currentDate().year() % 100)));
}
