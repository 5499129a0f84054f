// The key language, checked event by event against a recording keyboard with a US layout.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "input/send_keys.h"
#include "tests/fakes/fake_dialogs.h"
#include "tests/fakes/fake_key_sink.h"
#include "tests/unit/input/qstring_printer.h"
#include "tests/unit/input/us_layout_decoder.h"

namespace {

using fakes::KeyEvent;
using Events = std::vector<KeyEvent>;

const QString kRefusal = QStringLiteral("程序不支持（中文、全角等非ASCII码字符的密码）自动输入.");

KeyEvent Down(std::uint8_t vk, bool extended = false) { return {true, vk, extended}; }
KeyEvent Up(std::uint8_t vk, bool extended = false) { return {false, vk, extended}; }

constexpr std::uint8_t kShift = 16, kCtrl = 17, kAlt = 18;

// A key struck once: down and up.
void Strike(Events& events, std::uint8_t vk, bool extended = false) {
  events.push_back(Down(vk, extended));
  events.push_back(Up(vk, extended));
}
void ShiftedStrike(Events& events, std::uint8_t vk) {
  events.push_back(Down(kShift));
  Strike(events, vk);
  events.push_back(Up(kShift));
}

class SendKeysTest : public ::testing::Test {
 protected:
  bool send(const QString& text, bool pump = false) { return input::SendKeys(sink, dialogs, text, pump); }
  QStringList shown() const {
    QStringList out;
    for (const auto& d : dialogs.asked) out << d.caption + "|" + d.text;
    return out;
  }
  static QString box(const QString& text) { return "SendKeys|" + text; }

  fakes::FakeKeySink sink;
  fakes::FakeDialogs dialogs;
};

TEST_F(SendKeysTest, EmptyTextSendsNothingAndFails) {
  EXPECT_FALSE(send(""));
  // The text ends at its first zero character.
  EXPECT_FALSE(send(QString(QChar(0)) + "abc"));
  EXPECT_TRUE(sink.events.empty());
  EXPECT_TRUE(send(QStringLiteral("ab") + QChar(0) + "cd"));
  EXPECT_EQ(input_test::DecodeUsTyping(sink.events), "ab");
  EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(SendKeysTest, PlainCharactersBringTheModifiersTheLayoutNeeds) {
  EXPECT_TRUE(send("aB1!"));
  Events expected;
  Strike(expected, 'A');
  ShiftedStrike(expected, 'B');
  Strike(expected, '1');
  ShiftedStrike(expected, '1');
  EXPECT_EQ(sink.events, expected);
  EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(SendKeysTest, ModifierCommandsHoldForOneKeyOrAGroup) {
  struct Case {
    const char* text;
    const char* typed;
  };
  // a+b types aB; +ab types Ab; +(ab) types AB; x~ types x and Enter.
  for (const Case& c : {Case{"a+b", "aB"}, Case{"+ab", "Ab"}, Case{"+(ab)", "AB"}, Case{"+(a)b", "Ab"}}) {
    sink.events.clear();
    EXPECT_TRUE(send(c.text)) << c.text;
    EXPECT_EQ(input_test::DecodeUsTyping(sink.events), c.typed) << c.text;
  }

  sink.events.clear();
  send("x~");
  Events expected;
  Strike(expected, 'X');
  Strike(expected, 13);
  EXPECT_EQ(sink.events, expected);

  // Held modifiers go down in the order written and up in the order Shift, Ctrl, Alt.
  sink.events.clear();
  send("%^+a");
  expected = {Down(kAlt), Down(kCtrl), Down(kShift), Down('A'), Up('A'), Up(kShift), Up(kCtrl), Up(kAlt)};
  EXPECT_EQ(sink.events, expected);

  // Enter releases what +, ^ and % hold; a lone ")" is harmless.
  sink.events.clear();
  send("^~)a");
  expected = {Down(kCtrl), Down(13), Up(13), Up(kCtrl), Down('A'), Up('A')};
  EXPECT_EQ(sink.events, expected);

  // A shifted character inside a held Shift presses Shift again and lets it go after itself.
  sink.events.clear();
  send("+A");
  expected = {Down(kShift), Down(kShift), Down('A'), Up('A'), Up(kShift), Up(kShift)};
  EXPECT_EQ(sink.events, expected);
}

TEST_F(SendKeysTest, NothingStaysDownWhenTheTextEndsInsideAGroup) {
  EXPECT_TRUE(send("+(ab"));
  Events expected{Down(kShift)};
  Strike(expected, 'A');
  Strike(expected, 'B');
  expected.push_back(Up(kShift));
  EXPECT_EQ(sink.events, expected);
}

TEST_F(SendKeysTest, BraceGroupsNameKeysAndRepeatThem) {
  Events expected;
  // {LEFT 3}: three extended strokes.
  EXPECT_TRUE(send("{LEFT 3}"));
  for (int i = 0; i < 3; ++i) Strike(expected, 37, true);
  EXPECT_EQ(sink.events, expected);

  // {TAB 0}: nothing at all, and still success.
  sink.events.clear();
  EXPECT_TRUE(send("{TAB 0}"));
  EXPECT_TRUE(sink.events.empty());

  // {a 3}: the name is upper-cased, so Shift is held over three strokes of A.
  sink.events.clear();
  send("{a 3}");
  expected = {Down(kShift)};
  for (int i = 0; i < 3; ++i) Strike(expected, 'A');
  expected.push_back(Up(kShift));
  EXPECT_EQ(sink.events, expected);

  // Lower-case names are found; counts wrap at 65536 and may carry a sign.
  for (const char* text : {"{tab}", "{Tab 65537}", "{TAB -65535}", "{TAB +1}"}) {
    sink.events.clear();
    send(text);
    expected.clear();
    Strike(expected, 9);
    EXPECT_EQ(sink.events, expected) << text;
  }

  // The three spellings of Backspace.
  sink.events.clear();
  send("{BKSP}{BS}{BACKSPACE}");
  expected.clear();
  for (int i = 0; i < 3; ++i) Strike(expected, 8);
  EXPECT_EQ(sink.events, expected);

  // Modifiers written before a group apply to it and end after it.
  sink.events.clear();
  send("^{HOME}x");
  expected = {Down(kCtrl), Down(36, true), Up(36, true), Up(kCtrl)};
  Strike(expected, 'X');
  EXPECT_EQ(sink.events, expected);
  EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(SendKeysTest, EveryKeyNameStrikesItsKey) {
  struct Name {
    const char* name;
    std::uint8_t code;
  };
  const Name names[] = {
      {"BKSP", 8},    {"BS", 8},     {"BACKSPACE", 8},    {"BREAK", 3},  {"CAPSLOCK", 20}, {"CLEAR", 12},  {"DEL", 46},
      {"DELETE", 46}, {"DOWN", 40},  {"END", 35},         {"ENTER", 13}, {"ESC", 27},      {"ESCAPE", 27}, {"F1", 112},
      {"F2", 113},    {"F3", 114},   {"F4", 115},         {"F5", 116},   {"F6", 117},      {"F7", 118},    {"F8", 119},
      {"F9", 120},    {"F10", 121},  {"F11", 122},        {"F12", 123},  {"F13", 124},     {"F14", 125},   {"F15", 126},
      {"F16", 127},   {"HELP", 47},  {"HOME", 36},        {"INS", 45},   {"LEFT", 37},     {"PGDN", 34},   {"PGUP", 33},
      {"PRTSC", 42},  {"RIGHT", 39}, {"SCROLLLOCK", 145}, {"TAB", 9},    {"UP", 38},
  };
  const std::set<std::uint8_t> extended{33, 34, 35, 36, 37, 38, 39, 40, 45, 46};
  for (const Name& n : names) {
    sink.events.clear();
    EXPECT_TRUE(send(QString("{%1}").arg(n.name)));
    Events expected;
    Strike(expected, n.code, extended.count(n.code) > 0);
    EXPECT_EQ(sink.events, expected) << n.name;
  }
  EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(SendKeysTest, NumLockFlipsTheToggleWithoutAKeyEvent) {
  send("{NUMLOCK}");
  EXPECT_TRUE(sink.numLock);
  // The count does not repeat the flip.
  send("{NUMLOCK 3}");
  EXPECT_FALSE(sink.numLock);
  EXPECT_EQ(sink.numLockWrites, 2);
  EXPECT_TRUE(sink.events.empty());
}

TEST_F(SendKeysTest, BracesAreTypedThroughTheirEscapes) {
  Events expected;
  // {{} types a left brace; the character after "{{" is skipped whatever it is.
  send("{{}");
  ShiftedStrike(expected, 0xDB);
  EXPECT_EQ(sink.events, expected);
  sink.events.clear();
  send("{{xa");
  Strike(expected, 'A');
  EXPECT_EQ(sink.events, expected);

  // A group followed by "}" types "}" and drops its name: {ENTER}} types no Enter.
  for (const char* text : {"{}}", "{ENTER}}"}) {
    sink.events.clear();
    EXPECT_TRUE(send(text));
    expected.clear();
    ShiftedStrike(expected, 0xDD);
    EXPECT_EQ(sink.events, expected) << text;
  }
  EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(SendKeysTest, UntypeableCharactersAndUnknownNamesAreRefusedOneByOne) {
  EXPECT_TRUE(send("a中é{}{NOSUCH}b"));
  EXPECT_EQ(input_test::DecodeUsTyping(sink.events), "ab");
  EXPECT_EQ(shown(), QStringList(4, box(kRefusal)));

  // A one-character name the layout cannot type is refused as loudly as a bare character.
  dialogs.asked.clear();
  sink.events.clear();
  EXPECT_TRUE(send("{€}{中}x"));
  EXPECT_EQ(input_test::DecodeUsTyping(sink.events), "x");
  EXPECT_EQ(shown(), QStringList(2, box(kRefusal)));
}

TEST_F(SendKeysTest, KeyNamesAreCutAfterTwentyBytes) {
  // 23 letters: looked up as the first 20, upper-cased, and refused.
  EXPECT_TRUE(send("{abcdefghijklmnopqrstuvw}"));
  EXPECT_EQ(shown(), QStringList{box(kRefusal)});
  EXPECT_TRUE(sink.events.empty());

  // The cut also shortens a count: "TAB 0000000000000000" is what remains of the name.
  EXPECT_TRUE(send("{TAB 00000000000000002}"));
  EXPECT_TRUE(sink.events.empty());
  EXPECT_TRUE(send("{TAB 0000000000000002}"));
  Events expected;
  Strike(expected, 9);
  Strike(expected, 9);
  EXPECT_EQ(sink.events, expected);
}

TEST_F(SendKeysTest, AnUnclosedGroupStopsTheText) {
  EXPECT_FALSE(send("ab{cd"));
  EXPECT_EQ(input_test::DecodeUsTyping(sink.events), "ab");
  EXPECT_EQ(shown(), QStringList{box("No Close")});

  // Modifiers held by an open group are let go before the message appears.
  sink.events.clear();
  dialogs.asked.clear();
  EXPECT_FALSE(send("+(a{x"));
  Events expected{Down(kShift)};
  Strike(expected, 'A');
  expected.push_back(Up(kShift));
  EXPECT_EQ(sink.events, expected);
  EXPECT_EQ(shown(), QStringList{box("No Close")});
}

TEST_F(SendKeysTest, ACountThatIsNoIntegerEndsTheCallWithAnErrorNamingIt) {
  for (const char* count : {"x", "", "1.5", "0x10", "3a", "-", "99999999999"}) {
    sink.events.clear();
    QString text = QString("q+(a{b %1}c").arg(count);
    try {
      send(text);
      ADD_FAILURE() << "no error for " << text.toStdString();
    } catch (const input::KeyCountError& error) {
      // The count is part of the key name and upper-cased with it.
      EXPECT_EQ(QString::fromStdString(error.what()),
                QString("'%1' is not a valid integer value").arg(QString(count).toUpper()));
    }
    // Keys sent before stay sent, nothing after is sent, and no modifier is left down.
    Events expected;
    Strike(expected, 'Q');
    expected.push_back(Down(kShift));
    Strike(expected, 'A');
    expected.push_back(Up(kShift));
    EXPECT_EQ(sink.events, expected) << text.toStdString();
  }
  EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(SendKeysTest, PumpingLetsTheProgramHandleEveryKeyEvent) {
  send("aB{LEFT 2}", true);
  EXPECT_EQ(sink.pumps, static_cast<int>(sink.events.size()));
  sink.pumps = 0;
  send("aB", false);
  EXPECT_EQ(sink.pumps, 0);
}

TEST(WaitForKeyRelease, WaitsUntilTheKeysAreUpButNotForEver) {
  fakes::FakeKeySink sink;
  sink.heldPolls = 3;
  EXPECT_TRUE(input::WaitForKeyRelease(sink));
  EXPECT_EQ(sink.heldQuestions, 4);

  sink.heldPolls = -1;
  EXPECT_FALSE(input::WaitForKeyRelease(sink, std::chrono::milliseconds(30)));
  EXPECT_TRUE(sink.events.empty());
}

TEST_F(SendKeysTest, AKeyTheUserPressesWhileTypingStopsTheRest) {
  sink.pressedAt = 4;  // Ctrl pressed after three characters, and kept down
  EXPECT_FALSE(send("abcdef"));
  EXPECT_EQ(input_test::DecodeUsTyping(sink.events), "abc");
  EXPECT_TRUE(dialogs.asked.empty());
}

}  // namespace
