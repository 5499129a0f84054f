#include <QAction>
#include <QPushButton>
#include <gtest/gtest.h>

#include "app/note_search.h"

TEST(NoteSearch, MatchesAsLikeDoesOnPlainText) {
  EXPECT_TRUE(LikeContains("Recovery PHRASE", "phrase"));
  EXPECT_TRUE(LikeContains("两步验证 codes", "验证"));
  EXPECT_FALSE(LikeContains("ÄBC", "äbc")) << "only ASCII letters ignore case";
  EXPECT_TRUE(LikeContains("anything", ""));
  EXPECT_FALSE(LikeContains("", "a"));
  EXPECT_TRUE(LikeContains("pin 1234", "p_n"));
  EXPECT_TRUE(LikeContains("pin 1234", "pin%34"));
  EXPECT_FALSE(LikeContains("pin 1234", "pin%35"));
  EXPECT_TRUE(LikeContains("aaab", "a%a%b"));
  EXPECT_FALSE(LikeContains("ab", "abc"));
  EXPECT_TRUE(LikeContains("100% sure", "100%"));
}
