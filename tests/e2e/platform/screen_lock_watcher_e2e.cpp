// The screen-lock watcher on private buses (dbus-run-session, the system bus pointed at the same
// daemon): a process that owns a screen saver's name, or logind's, sends its signals.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include "platform/dbus/dbus_screen_lock_watcher.h"

namespace {

QString g_owner;  // the screen_saver_owner program

void Send(const QStringList& arguments) {
  ASSERT_EQ(QProcess::execute(g_owner, arguments), 0) << arguments.join(' ').toStdString();
}

class ScreenLockWatcherTest : public testing::Test {
 protected:
  // Signals still on their way have arrived when the spy sees the count.
  int lockedAfterDelivery() {
    QTest::qWait(300);
    return static_cast<int>(locked_.count());
  }

  platform::dbus::ScreenLockWatcher watcher_;
  QSignalSpy locked_{&watcher_, &platform::dbus::ScreenLockWatcher::locked};
};

TEST_F(ScreenLockWatcherTest, ActiveChangedTrueOfEveryScreenSaverLocksAndFalseDoesNot) {
  Send({"session", "org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver",
        "ActiveChanged", "false", "true"});
  ASSERT_TRUE(locked_.wait(5000));
  EXPECT_EQ(lockedAfterDelivery(), 1);

  Send({"session", "org.freedesktop.ScreenSaver", "/ScreenSaver", "org.freedesktop.ScreenSaver", "ActiveChanged",
        "true"});
  ASSERT_TRUE(locked_.wait(5000));
  Send(
      {"session", "org.gnome.ScreenSaver", "/org/gnome/ScreenSaver", "org.gnome.ScreenSaver", "ActiveChanged", "true"});
  ASSERT_TRUE(locked_.wait(5000));
  EXPECT_EQ(lockedAfterDelivery(), 3);

  // Another path, and another sender than the owner of the name: the sender does not matter.
  Send({"session", "org.example.Other", "/org/example/ScreenSaver", "org.freedesktop.ScreenSaver", "ActiveChanged",
        "true"});
  Send({"session", "org.example.Other", "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver", "ActiveChanged",
        "true"});
  ASSERT_TRUE(locked_.wait(5000));
  EXPECT_EQ(lockedAfterDelivery(), 4);
}

TEST_F(ScreenLockWatcherTest, PrepareForSleepTrueFromLogindLocks) {
  Send({"system", "org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
        "PrepareForSleep", "false"});
  EXPECT_EQ(lockedAfterDelivery(), 0);
  Send({"system", "org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
        "PrepareForSleep", "true"});
  ASSERT_TRUE(locked_.wait(5000));
  EXPECT_EQ(lockedAfterDelivery(), 1);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fputs("usage: platform_screen_lock_watcher_e2e <screen_saver_owner>\n", stderr);
    return 2;
  }
  g_owner = QString::fromLocal8Bit(argv[1]);
  return RUN_ALL_TESTS();
}
