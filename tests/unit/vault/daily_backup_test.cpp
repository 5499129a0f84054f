#include "vault/daily_backup.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using vault::DailyBackupOutcome;
using vault::TakeDailyBackup;

class DailyBackupTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    write("_.udb", "current");
  }

  QString folder() const { return dir_.path() + "/"; }

  void write(const QString& name, const QByteArray& bytes, int daysOld = 0) const {
    QFile file(folder() + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.flush();  // a later write would stamp the file anew
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addDays(-daysOld), QFileDevice::FileModificationTime));
  }

  // Joined, so that a failure prints them readably.
  std::string files() const { return QDir(folder()).entryList(QDir::Files, QDir::Name).join(" ").toStdString(); }

  QTemporaryDir dir_;
};

TEST_F(DailyBackupTest, CopiesOnceADayAndKeepsTheNewestWithoutTouchingOtherBackups) {
  for (int daysOld = 1; daysOld <= 4; ++daysOld)
    write("每日备份_bak_2026120" + QString::number(daysOld) + "000000_.udb", "old", daysOld);
  write("修改密码前备份_bak_20200101000000_.udb", "other", 400);
  write("删除[网站]分类前备份_bak_20200101000000_.udb", "other", 400);
  const QDate today = QDate::currentDate();

  const std::string others =
      "_.udb 修改密码前备份_bak_20200101000000_.udb 删除[网站]分类前备份_bak_20200101000000_.udb ";
  const std::string kept = "每日备份_bak_20261201000000_.udb 每日备份_bak_20261202000000_.udb ";
  EXPECT_EQ(TakeDailyBackup(folder(), "2026-12-09 08:00:00", today, 3), DailyBackupOutcome::Taken);
  EXPECT_EQ(files(), others + kept + "每日备份_bak_20261209080000_.udb");
  QFile taken(folder() + "每日备份_bak_20261209080000_.udb");
  ASSERT_TRUE(taken.open(QIODevice::ReadOnly));
  EXPECT_EQ(taken.readAll(), "current");
  EXPECT_EQ(taken.permissions() & ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser), 0);

  EXPECT_EQ(TakeDailyBackup(folder(), "2026-12-09 18:00:00", today, 3), DailyBackupOutcome::AlreadyToday);
  EXPECT_EQ(files(), others + kept + "每日备份_bak_20261209080000_.udb");

  // The next day; fewer kept from now on.
  EXPECT_EQ(TakeDailyBackup(folder(), "2026-12-10 00:00:01", today.addDays(1), 2), DailyBackupOutcome::Taken);
  EXPECT_EQ(files(), others + "每日备份_bak_20261209080000_.udb 每日备份_bak_20261210000001_.udb");
}

TEST_F(DailyBackupTest, NoneWhenTurnedOffAndAFailureWhenTheFileCannotBeCopied) {
  write("每日备份_bak_20261201000000_.udb", "old", 8);
  EXPECT_EQ(TakeDailyBackup(folder(), "2026-12-09 08:00:00", QDate::currentDate(), 0), DailyBackupOutcome::Off);
  EXPECT_EQ(files(), "_.udb 每日备份_bak_20261201000000_.udb") << "nothing taken, nothing removed";

  ASSERT_TRUE(QFile::remove(folder() + "_.udb"));
  EXPECT_EQ(TakeDailyBackup(folder(), "2026-12-09 08:00:00", QDate::currentDate(), 7), DailyBackupOutcome::Failed);
  EXPECT_EQ(files(), "每日备份_bak_20261201000000_.udb");
}

}  // namespace
