#include "cli/terminal_text.h"

#include <gtest/gtest.h>

TEST(TerminalText, ControlCharactersAreShownEscapedAndEverythingElseAsItIs) {
  // An imported title that would clear the screen and set the terminal's title.
  EXPECT_EQ(cli::EscapedForTerminal("a\x1b[2J\x1b]0;pwned\x07z"), "a\\x1b[2J\\x1b]0;pwned\\x07z");
  EXPECT_EQ(cli::EscapedForTerminal("\r\x7f\x01"), "\\x0d\\x7f\\x01");
  EXPECT_EQ(cli::EscapedForTerminal("csi\xc2\x9b"
                                    "31m"),
            "csi\\x9b31m")
      << "a C1 control in UTF-8";
  EXPECT_EQ(cli::EscapedForTerminal("C:\\x1b"), "C:\\\\x1b") << "a backslash is told apart from an escape";
  EXPECT_EQ(cli::EscapedForTerminal("钥匣密码，全角Ａ１！\t第二行\n©"), "钥匣密码，全角Ａ１！\t第二行\n©");
}
