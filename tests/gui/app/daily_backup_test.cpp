// The daily backup the windows take at the day's first login.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "store/backup.h"
#include "tests/gui/app/app_harness.h"
#include "tests/support/disk_faults.h"

namespace {

QStringList DailyBackups(const AppHarness& app) {
  return QDir(app.folder()).entryList({"每日备份_bak_*_.udb"}, QDir::Files);
}

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST(DailyBackup, TheDaysFirstLoginCopiesTheDatabaseAndAFailureOnlySaysSo) {
  AppHarness app;
  disk_faults::SmallDisk disk(app.folder().toStdString(), 1024 * 1024);
  app.makeDatabase();
  ASSERT_TRUE(app.create());
  app.main->Timer1Timer();  // the clock that stamps backups
  app.runStartupCheck();
  app.typeLogin(AppHarness::kMaster);
  const QStringList taken = DailyBackups(app);
  ASSERT_EQ(taken.size(), 1);
  EXPECT_EQ(taken.front().toStdString(), "每日备份_bak_" + store::BackupStamp(app.panel(2).toStdString()) + "_.udb");
  EXPECT_EQ(Bytes(app.folder() + taken.front()), Bytes(app.folder() + "_.udb"));

  Named<QAction>(*app.main, "HideME")->trigger();
  Named<QAction>(*app.main, "ShowME")->trigger();
  app.typeLogin(AppHarness::kMaster);
  EXPECT_EQ(DailyBackups(app), taken) << "one a day";

  // Another day's first login, with no room left for a copy: the login goes on.
  app.restart();
  ASSERT_TRUE(QFile::remove(app.folder() + taken.front()));
  ASSERT_TRUE(app.create());
  app.runStartupCheck();
  disk.fill();
  app.typeLogin(AppHarness::kMaster);
  EXPECT_TRUE(app.main->isVisible());
  EXPECT_EQ(app.panel(0), "每日备份失败, 请检查数据文件夹的空间和权限.");
  EXPECT_TRUE(DailyBackups(app).isEmpty());
}
