#include <gtest/gtest.h>

#include <set>

#include "input/fill_outcome.h"

// keyhaven --fill hears the outcome as a word: each must come back as itself, and say something.
TEST(FillOutcome, EachOutcomeTravelsAsAWordOfItsOwnAndIsToldUnlessTheValueWentIn) {
  std::set<std::string> words;
  for (int i = 0; i <= static_cast<int>(input::FillOutcome::kStopped); ++i) {
    const auto outcome = static_cast<input::FillOutcome>(i);
    const std::string word = input::FillOutcomeWord(outcome);
    EXPECT_TRUE(words.insert(word).second) << word;
    EXPECT_EQ(input::FillOutcomeOfWord(word), outcome) << word;
    EXPECT_EQ(input::FillOutcomeText(outcome).isEmpty(), outcome == input::FillOutcome::kEntered) << word;
  }
  EXPECT_EQ(input::FillOutcomeOfWord("done"), std::nullopt);
}
