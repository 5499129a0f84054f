#include <gtest/gtest.h>
#include <QDateTime>
#include <QRegularExpression>

#include "store/backup.h"
#include "tests/gui/app/app_harness.h"

// The clock stamps backup names, so every second must give its own stamp.
TEST(Clock, ShowsZeroPaddedDateAndTimeWithoutAZoneWord) {
  AppHarness app;
  app.makeDatabase();
  ASSERT_TRUE(app.create());
  const QDateTime before = QDateTime::currentDateTime().addMSecs(-999);
  app.main->Timer1Timer();
  const QDateTime after = QDateTime::currentDateTime();
  const QString clock = app.panel(2);
  static const QRegularExpression format(R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}$)");
  EXPECT_TRUE(format.match(clock).hasMatch()) << clock.toStdString();
  const QDateTime shown = QDateTime::fromString(clock, "yyyy-MM-dd hh:mm:ss");
  EXPECT_TRUE(shown >= before && shown <= after) << clock.toStdString();
  EXPECT_EQ(store::BackupStamp(clock.toStdString()), shown.toString("yyyyMMddhhmmss").toStdString());
}
