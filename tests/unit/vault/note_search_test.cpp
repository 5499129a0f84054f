#include <sqlcipher/sqlite3.h>

#include <gtest/gtest.h>
#include <QString>
#include <QStringList>
#include <random>

#include "crypto/protected_field.h"
#include "vault/note_search.h"

namespace {

using vault::LikeKeyword;
using vault::NumbersOfNotesContaining;

bool Contains(const QString& text, const QString& keyword) { return LikeKeyword(keyword).foundIn(text); }

// What the engine's own LIKE says of the same plain texts.
class EngineLike {
 public:
  EngineLike() {
    sqlite3_open(":memory:", &db_);
    sqlite3_prepare_v2(db_, "select ?1 like '%' || ?2 || '%'", -1, &statement_, nullptr);
  }
  ~EngineLike() {
    sqlite3_finalize(statement_);
    sqlite3_close(db_);
  }
  bool contains(const QString& text, const QString& keyword) {
    const QByteArray t = text.toUtf8(), k = keyword.toUtf8();
    sqlite3_reset(statement_);
    sqlite3_bind_text(statement_, 1, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(statement_, 2, k.constData(), static_cast<int>(k.size()), SQLITE_TRANSIENT);
    EXPECT_EQ(sqlite3_step(statement_), SQLITE_ROW);
    return sqlite3_column_int(statement_, 0) != 0;
  }

 private:
  sqlite3* db_ = nullptr;
  sqlite3_stmt* statement_ = nullptr;
};

}  // namespace

TEST(NoteSearch, MatchesAsLikeDoesOnPlainText) {
  EXPECT_TRUE(Contains("Recovery PHRASE", "phrase"));
  EXPECT_TRUE(Contains("两步验证 codes", "验证"));
  EXPECT_FALSE(Contains("ÄBC", "äbc")) << "only ASCII letters ignore case";
  EXPECT_TRUE(Contains("anything", ""));
  EXPECT_FALSE(Contains("", "a"));
  EXPECT_TRUE(Contains("pin 1234", "p_n"));
  EXPECT_TRUE(Contains("pin 1234", "pin%34"));
  EXPECT_FALSE(Contains("pin 1234", "pin%35"));
  EXPECT_TRUE(Contains("aaab", "a%a%b"));
  EXPECT_FALSE(Contains("ab", "abc"));
  EXPECT_TRUE(Contains("100% sure", "100%"));
  EXPECT_TRUE(Contains("key 😀 pin", "y _ p")) << "'_' is one whole character";
  EXPECT_FALSE(Contains("😀", "__"));
}

TEST(NoteSearch, OneKeywordTriedOnManyNotesAgreesWithTheEngineOnEachOfThem) {
  // Small alphabets make wildcards, repeats and case pairs frequent.
  // 😀 is two UTF-16 units but one character to the engine.
  const QStringList textLetters = {"a", "A", "b", "B", "%", "_", " ", "中", "文", "Ä", "ä", "😀"};
  const QStringList keywordLetters = {"a", "A", "b", "B", "%", "_", "中", "Ä", "😀"};
  std::mt19937 random(20261209);
  auto draw = [&](const QStringList& letters, int longest) {
    QString s;
    const int length = std::uniform_int_distribution<int>(0, longest)(random);
    for (int i = 0; i < length; ++i)
      s += letters[std::uniform_int_distribution<int>(0, static_cast<int>(letters.size()) - 1)(random)];
    return s;
  };
  EngineLike engine;
  int found = 0;
  for (int k = 0; k < 300; ++k) {
    const QString keyword = draw(keywordLetters, 4);
    const LikeKeyword wanted(keyword);
    for (int t = 0; t < 20; ++t) {
      const QString text = draw(textLetters, 12);
      const bool expected = engine.contains(text, keyword);
      ASSERT_EQ(wanted.foundIn(text), expected)
          << "text '" << text.toStdString() << "' keyword '" << keyword.toStdString() << "'";
      found += expected;
    }
  }
  EXPECT_GT(found, 500) << "the drawn cases should hold hits as well as misses";
  EXPECT_LT(found, 5500);
}

TEST(NoteSearch, FindsTheNumbersOfTheMatchingNotesInRowOrderAmongManyNotes) {
  // Enough rows to be shared among workers, an uneven count so that slices differ in length.
  const std::string key = "48213";
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> withKeyword, underKey;
  rows.push_back({"7", "not a cipher text 钥匙"});
  for (int i = 0; i < 20'003; ++i) {
    const std::string number = std::to_string(100'000 - i);  // numbers not in sorted order
    const bool hasKeyword = i % 7 == 0 || i == 20'002;       // the last row too
    const std::string note = "记录 " + std::to_string(i) + " 的备注" + (hasKeyword ? " 含有钥匙" : "");
    if (i % 11 == 3) {
      rows.push_back({number, crypto::ProtectField(note, "other")});  // does not reveal under the key
      continue;
    }
    rows.push_back({number, crypto::ProtectField(note, key)});
    underKey.push_back(number);
    if (hasKeyword) withKeyword.push_back(number);
  }
  EXPECT_EQ(NumbersOfNotesContaining(rows, key, "钥匙"), withKeyword);
  EXPECT_EQ(NumbersOfNotesContaining(rows, key, "备注"), underKey);
  EXPECT_TRUE(NumbersOfNotesContaining({}, key, "钥匙").empty());
}
