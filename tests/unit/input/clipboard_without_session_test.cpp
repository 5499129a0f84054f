// Without a graphical session there is no clipboard to open; the levels stay balanced.
#include <gtest/gtest.h>

#include <QString>
#include <cstring>

#include "input/clipboard.h"

namespace {

TEST(ClipboardWithoutSession, OpenFailsWithTheReasonAndCountsNoLevel) {
  input::TClipboard clipboard;
  try {
    clipboard.Open();
    ADD_FAILURE() << "opened without a session";
  } catch (const input::ClipboardError& error) {
    EXPECT_TRUE(QString(error.what()).startsWith("Cannot open clipboard: ")) << error.what();
    EXPECT_GT(std::strlen(error.what()), std::strlen("Cannot open clipboard: "));
  }
  EXPECT_EQ(clipboard.openLevels(), 0);
  EXPECT_THROW(clipboard.Clear(), input::ClipboardError);
  EXPECT_EQ(clipboard.openLevels(), 0);
  clipboard.Close();
  EXPECT_EQ(clipboard.openLevels(), 0);
}

}  // namespace
