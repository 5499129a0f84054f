#include "input/hot_key_arming.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;

TEST(HotKeyArming, ArmsForItsTimeAndATimeRunningOutDuringAFillWaitsForItsEnd) {
  int argc = 0;
  QCoreApplication application(argc, nullptr);
  input::HotKeyArming arming;
  QSignalSpy ranOut(&arming, &input::HotKeyArming::ranOut);
  arming.setArmedTime(20ms);
  EXPECT_FALSE(arming.armed());
  arming.arm();
  EXPECT_TRUE(arming.armed());
  ASSERT_TRUE(ranOut.wait(2000));
  EXPECT_FALSE(arming.armed());

  arming.arm();
  arming.fillStarted();
  QTest::qWait(80);
  EXPECT_EQ(ranOut.count(), 1) << "the keys stay while a fill types";
  EXPECT_TRUE(arming.armed());
  arming.fillEnded();
  EXPECT_EQ(ranOut.count(), 2);
  EXPECT_FALSE(arming.armed());

  arming.setArmedTime(0ms);
  arming.arm();
  QTest::qWait(80);
  EXPECT_TRUE(arming.armed()) << "no time: armed until let go";
  arming.disarm();
  EXPECT_FALSE(arming.armed());
  EXPECT_EQ(ranOut.count(), 2) << "a lock's release is no running out";
}
