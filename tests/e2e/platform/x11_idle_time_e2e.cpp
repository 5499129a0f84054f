// The display's idle time on a real X server: it grows while nobody touches anything, and
// synthetic input resets it like real input.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QProcess>
#include <QTest>

#include "platform/x11/x11_idle_time.h"

namespace {

using namespace std::chrono_literals;

TEST(DisplayIdleTime, GrowsWhileStillAndStartsAgainAtInput) {
  ASSERT_EQ(QProcess::execute("xdotool", {"mousemove", "10", "10"}), 0);
  QTest::qWait(1500);
  const auto still = platform::x11::DisplayIdleTime();
  ASSERT_TRUE(still);
  EXPECT_GE(*still, 1400ms);
  ASSERT_EQ(QProcess::execute("xdotool", {"mousemove", "200", "200"}), 0);
  const auto moved = platform::x11::DisplayIdleTime();
  ASSERT_TRUE(moved);
  EXPECT_LT(*moved, *still);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
