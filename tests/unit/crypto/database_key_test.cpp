#include "crypto/database_key.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DrawDatabaseKey, IsNeverZeroStaysInRangeAndDoesNotRepeat) {
  std::uint32_t previous = 0;
  bool sawLowHalf = false;
  bool sawHighHalf = false;
  for (int i = 0; i < 5000; ++i) {
    const std::uint32_t key = crypto::DrawDatabaseKey();
    ASSERT_GE(key, 1u);
    ASSERT_LE(key, 99'999'999u);
    ASSERT_NE(key, previous) << "draw " << i;
    previous = key;
    (key <= 50'000'000 ? sawLowHalf : sawHighHalf) = true;
  }
  EXPECT_TRUE(sawLowHalf && sawHighHalf);
}

TEST(DrawDatabaseKeyText, IsOneToEightDigitsWithoutALeadingZero) {
  std::string previous;
  for (int i = 0; i < 5000; ++i) {
    const std::string text = crypto::DrawDatabaseKeyText();
    ASSERT_GE(text.size(), 1u);
    ASSERT_LE(text.size(), 8u);
    ASSERT_EQ(text.find_first_not_of("0123456789"), std::string::npos) << text;
    ASSERT_NE(text[0], '0') << text;
    ASSERT_NE(text, previous);
    previous = text;
  }
}

}  // namespace
