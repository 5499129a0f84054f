#include "crypto/password_generator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <stdexcept>
#include <string>

namespace {

using crypto::GeneratePassword;
using crypto::PasswordAlphabet;
using crypto::PasswordRules;

constexpr char kUpper[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr char kLower[] = "abcdefghijklmnopqrstuvwxyz";
constexpr char kDigits[] = "0123456789";
constexpr char kSymbols[] = "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~";

std::string Without(std::string characters, const std::string& removed) {
  std::erase_if(characters, [&](char c) { return removed.find(c) != std::string::npos; });
  return characters;
}

// Pearson's statistic of the counts against equal shares, far above its mean only when the draw is skewed.
bool LooksUniform(const std::map<char, int>& counts, const std::string& characters) {
  int total = 0;
  for (char c : characters) total += counts.count(c) ? counts.at(c) : 0;
  const double expected = static_cast<double>(total) / static_cast<double>(characters.size());
  double chiSquare = 0;
  for (char c : characters) {
    const double difference = (counts.count(c) ? counts.at(c) : 0) - expected;
    chiSquare += difference * difference / expected;
  }
  const double freedom = static_cast<double>(characters.size() - 1);
  return chiSquare < freedom + 6 * std::sqrt(2 * freedom);
}

TEST(PasswordGenerator, AlphabetIsTheUnionOfTheChosenClassesWithoutLookAlikes) {
  PasswordRules rules;
  EXPECT_EQ(PasswordAlphabet(rules).size(), 26u - 2 + 26 - 2 + 10 - 2 + 32 - 1);
  rules.excludeLookAlikes = false;
  EXPECT_EQ(PasswordAlphabet(rules).size(), 94u);  // every printable ASCII character but the blank
  EXPECT_EQ(PasswordAlphabet(
                {.upperCase = false, .lowerCase = false, .digits = true, .symbols = false, .excludeLookAlikes = true}),
            "23456789");
  EXPECT_EQ(PasswordAlphabet(
                {.upperCase = false, .lowerCase = false, .digits = false, .symbols = true, .excludeLookAlikes = false}),
            kSymbols);
}

TEST(PasswordGenerator, RefusesNoClassAndLengthsOutsideFourToSixtyFour) {
  EXPECT_THROW(GeneratePassword({.upperCase = false, .lowerCase = false, .digits = false, .symbols = false}),
               std::invalid_argument);
  EXPECT_THROW(GeneratePassword({.length = 3}), std::invalid_argument);
  EXPECT_THROW(GeneratePassword({.length = 65}), std::invalid_argument);
  EXPECT_EQ(GeneratePassword({.length = 4}).size(), 4u);
  EXPECT_EQ(GeneratePassword({.length = 64}).size(), 64u);
  EXPECT_DOUBLE_EQ(
      crypto::PasswordStrengthBits({.upperCase = false, .lowerCase = false, .digits = false, .symbols = false}), 0.0);
  EXPECT_NEAR(crypto::PasswordStrengthBits({.length = 16}), 16 * std::log2(87.0), 1e-9);
}

TEST(PasswordGenerator, EveryChosenClassOccursAndNothingElse) {
  const std::string upper = Without(kUpper, "OI"), lower = Without(kLower, "ol"), digits = Without(kDigits, "01"),
                    symbols = Without(kSymbols, "|");
  for (int i = 0; i < 2000; ++i) {
    const std::string password = GeneratePassword({.length = 4});  // four classes in four characters
    ASSERT_EQ(password.size(), 4u);
    for (const std::string& characters : {upper, lower, digits, symbols})
      ASSERT_NE(password.find_first_of(characters), std::string::npos) << password;
    ASSERT_EQ(password.find_first_of("0Oo1lI| "), std::string::npos) << password;
  }
  for (int i = 0; i < 500; ++i) {
    const std::string password = GeneratePassword({.length = 8, .upperCase = false, .symbols = false});
    ASSERT_EQ(password.find_first_not_of(lower + digits), std::string::npos) << password;
    ASSERT_NE(password.find_first_of(lower), std::string::npos) << password;
    ASSERT_NE(password.find_first_of(digits), std::string::npos) << password;
  }
}

TEST(PasswordGenerator, CharactersAreUniformOverTheUnionAndWithinEachClass) {
  const PasswordRules rules{.length = 64};
  const std::string alphabet = PasswordAlphabet(rules);
  std::map<char, int> counts;
  constexpr int kDraws = 3000;
  for (int i = 0; i < kDraws; ++i)
    for (char c : GeneratePassword(rules)) ++counts[c];
  ASSERT_EQ(counts.size(), alphabet.size());
  for (const std::string& characters :
       {Without(kUpper, "OI"), Without(kLower, "ol"), Without(kDigits, "01"), Without(kSymbols, "|")})
    EXPECT_TRUE(LooksUniform(counts, characters)) << characters;
  // A draw that picked a class first would give the eight digits a quarter of all characters.
  int digits = 0;
  for (char c : Without(kDigits, "01")) digits += counts[c];
  const double share = static_cast<double>(digits) / (kDraws * 64.0);
  EXPECT_NEAR(share, 8.0 / 87.0, 0.01);
}

}  // namespace
