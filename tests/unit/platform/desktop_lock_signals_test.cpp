#include "platform/desktop_lock_signals.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

namespace {

using namespace std::chrono_literals;

// Runs the event loop until the idle time has been asked for once more.
void WaitForNextCheck(const int& asked) {
  const int before = asked;
  for (int i = 0; i < 300 && asked == before; ++i) QTest::qWait(10);
  ASSERT_GT(asked, before);
}

TEST(DesktopLockSignals, IdleLimitFiresOncePerStillStretchAndTheTestOverrideShortensIt) {
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name};
  // No bus at all: the idle limit works on, and nothing is launched to stand in for a bus.
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/keyhaven-session-bus");
  qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/keyhaven-system-bus");
  QCoreApplication app(argc, argv);
  std::chrono::milliseconds idle = 1500ms;
  int asked = 0;
  platform::DesktopLockSignals lockSignals(
      [&] {
        ++asked;
        return std::optional(idle);
      },
      nullptr);
  QSignalSpy reached(&lockSignals, &platform::LockSignals::idleLimitReached);

  qunsetenv("KEYHAVEN_TEST_IDLE_LIMIT_SECONDS");
  lockSignals.setIdleLimit(10min);
  WaitForNextCheck(asked);
  EXPECT_EQ(reached.count(), 0);

  qputenv("KEYHAVEN_TEST_IDLE_LIMIT_SECONDS", "1");
  lockSignals.setIdleLimit(10min);  // one second now
  ASSERT_TRUE(reached.wait(3000));
  WaitForNextCheck(asked);
  EXPECT_EQ(reached.count(), 1) << "still idle: no second signal";

  idle = 0ms;  // input
  WaitForNextCheck(asked);
  idle = 1200ms;
  ASSERT_TRUE(reached.wait(3000));
  EXPECT_EQ(reached.count(), 2);

  lockSignals.setIdleLimit(0s);
  const int askedWhenOff = asked;
  QTest::qWait(1200);
  EXPECT_EQ(asked, askedWhenOff);
  qunsetenv("KEYHAVEN_TEST_IDLE_LIMIT_SECONDS");
}

}  // namespace
