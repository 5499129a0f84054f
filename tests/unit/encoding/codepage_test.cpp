#include "encoding/codepage.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using encoding::Cp936ToUtf8;
using encoding::FirstCharacterOutsideCp936;
using encoding::Utf8ToCp936;

TEST(Utf8ToCp936, GivesTheCodePageBytesAndQuestionMarksForTheRest) {
  EXPECT_EQ(Utf8ToCp936(""), "");
  EXPECT_EQ(Utf8ToCp936("abc 123!"), "abc 123!");
  EXPECT_EQ(Utf8ToCp936("密码"), "\xC3\xDC\xC2\xEB");
  EXPECT_EQ(Utf8ToCp936("钥匣"), "\xD4\xBF\xCF\xBB");
  EXPECT_EQ(Utf8ToCp936("€"), "\x80");
  // Outside the code page: an emoji, a Thai letter; malformed UTF-8 counts byte by byte.
  EXPECT_EQ(Utf8ToCp936("a😀b"), "a?b");
  EXPECT_EQ(Utf8ToCp936("ก密"), "?\xC3\xDC");
  EXPECT_EQ(Utf8ToCp936("x\xFF\xFEy"), "x??y");
  EXPECT_EQ(Utf8ToCp936("\xE5\xAF"), "??");  // a cut-off character at the end
  EXPECT_EQ(Utf8ToCp936(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(FirstCharacterOutsideCp936, NamesTheFirstCharacterTheCodePageCannotCarry) {
  EXPECT_EQ(FirstCharacterOutsideCp936(""), "");
  EXPECT_EQ(FirstCharacterOutsideCp936("密码Ab1 ?€"), "") << "a question mark of its own is carried";
  EXPECT_EQ(FirstCharacterOutsideCp936("密码Ab1😀"), "😀");
  EXPECT_EQ(FirstCharacterOutsideCp936("a✓bก😀"), "✓");
}

TEST(Cp936ToUtf8, GivesUtf8AndReplacementCharactersForInvalidBytes) {
  EXPECT_EQ(Cp936ToUtf8(""), "");
  EXPECT_EQ(Cp936ToUtf8("\xC3\xDC\xC2\xEB"), "密码");
  EXPECT_EQ(Cp936ToUtf8("\x80"), "€");
  EXPECT_EQ(Cp936ToUtf8("a\xFF"
                        "b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(Cp936ToUtf8("ok\xC3"), "ok\xEF\xBF\xBD");   // a lead byte with nothing after it
  EXPECT_EQ(Cp936ToUtf8("\x81\x20"), "\xEF\xBF\xBD ");  // a lead byte before a blank
}

TEST(Codepage, RoundTripsTextsOfTheCodePage) {
  const std::string texts[] = {"钥匣个人版", "帐号密码粘贴式", "mixed 中文 and ASCII €5", std::string(5000, 'x'), [] {
                                 std::string s;
                                 for (int i = 0; i < 2000; ++i) s += "软件配置";
                                 return s;
                               }()};
  for (const auto& text : texts) EXPECT_EQ(Cp936ToUtf8(Utf8ToCp936(text)), text);
}

TEST(Codepage, ConvertsCorrectlyFromManyThreadsAtOnce) {
  std::vector<std::thread> threads;
  std::vector<int> failures(8, 0);
  for (std::size_t t = 0; t < failures.size(); ++t) {
    threads.emplace_back([&failures, t] {
      for (int i = 0; i < 2000; ++i) {
        const std::string text = "线程" + std::to_string(t) + "-" + std::to_string(i);
        if (Cp936ToUtf8(Utf8ToCp936(text)) != text) ++failures[t];
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (std::size_t t = 0; t < failures.size(); ++t) EXPECT_EQ(failures[t], 0) << "thread " << t;
}

}  // namespace
