// Escaped text is typed literally: every printable ASCII character and random mixtures of them.
#include <gtest/gtest.h>

#include <random>

#include "input/send_keys.h"
#include "tests/fakes/fake_dialogs.h"
#include "tests/fakes/fake_key_sink.h"
#include "tests/unit/input/qstring_printer.h"
#include "tests/unit/input/us_layout_decoder.h"

namespace {

QString TypedThroughEscape(const QString& text) {
  fakes::FakeKeySink sink;
  fakes::FakeDialogs dialogs;
  EXPECT_TRUE(input::SendKeys(sink, dialogs, input::EscapeForKeyLanguage(text), false)) << text.toStdString();
  EXPECT_TRUE(dialogs.asked.empty()) << text.toStdString();
  return input_test::DecodeUsTyping(sink.events);
}

TEST(EscapeForKeyLanguage, WrapsEachCommandCharacterInBraces) {
  EXPECT_EQ(input::EscapeForKeyLanguage("a+b^c%d~e(f)g{h}i"), "a{+}b{^}c{%}d{~}e{(}f{)}g{{}h{}}i");
  EXPECT_EQ(input::EscapeForKeyLanguage("{}}{"), "{{}{}}{}}{{}");
  EXPECT_EQ(input::EscapeForKeyLanguage("plain 123 @#!"), "plain 123 @#!");
}

TEST(EscapeForKeyLanguage, EveryPrintableCharacterIsTypedAsItself) {
  QString all;
  for (char c = 0x20; c < 0x7F; ++c) {
    const QString one(QLatin1Char{c});
    EXPECT_EQ(TypedThroughEscape(one), one) << c;
    EXPECT_EQ(TypedThroughEscape(one + one), one + one) << c;
    all += one;
  }
  EXPECT_EQ(TypedThroughEscape(all), all);
}

TEST(EscapeForKeyLanguage, RandomPrintableTextsAreTypedAsThemselves) {
  std::mt19937 random(20130204);
  std::uniform_int_distribution<int> character(0x20, 0x7E);
  std::uniform_int_distribution<int> length(1, 40);
  // Weight the command characters so that their neighbourhoods are well covered.
  const QString commands = "+^%~(){}";
  std::uniform_int_distribution<int> pickCommand(0, static_cast<int>(commands.size()) - 1);
  std::bernoulli_distribution command(0.3);
  for (int round = 0; round < 400; ++round) {
    QString text;
    for (int n = length(random); n > 0; --n)
      text += command(random) ? commands[pickCommand(random)] : QChar(character(random));
    ASSERT_EQ(TypedThroughEscape(text), text);
  }
}

TEST(EscapeForKeyLanguage, WithoutItCommandCharactersAreNotTyped) {
  // Why stored values are escaped before typing: the raw password types something else.
  fakes::FakeKeySink sink;
  fakes::FakeDialogs dialogs;
  input::SendKeys(sink, dialogs, "p+w~", false);
  EXPECT_NE(input_test::DecodeUsTyping(sink.events), "p+w~");
}

}  // namespace
