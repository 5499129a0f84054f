// Any text in the key language: SendKeys must return (or refuse a repeat count), leave no key
// down behind it, and type an escaped text literally, character by character.
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <QString>

#include "input/send_keys.h"
#include "platform/key_sink.h"
#include "tests/fakes/fake_dialogs.h"

namespace {

// Answers like a US layout for letters, digits, blank and the key language's own characters,
// and keeps only which keys are down, so that long repeat counts cost no memory.
class HeldKeySink final : public platform::KeySink {
 public:
  void keyDown(std::uint8_t virtualKey, bool) override {
    held.set(virtualKey);
    if (!isModifier(virtualKey)) typed.push_back(virtualKey);
  }
  void keyUp(std::uint8_t virtualKey, bool) override { held.reset(virtualKey); }

  std::uint16_t keyForCharacter(char32_t c) override {
    constexpr std::uint16_t kShift = platform::kShiftBit << 8;
    if (c >= U'a' && c <= U'z') return static_cast<std::uint16_t>(c - U'a' + 'A');
    if (c >= U'A' && c <= U'Z') return static_cast<std::uint16_t>(kShift | c);
    if (c >= U'0' && c <= U'9') return static_cast<std::uint16_t>(c);
    switch (c) {
      case U' ':
        return 0x20;
      case U'+':
        return kShift | 0xBB;
      case U'^':
        return kShift | '6';
      case U'%':
        return kShift | '5';
      case U'~':
        return kShift | 0xC0;
      case U'(':
        return kShift | '9';
      case U')':
        return kShift | '0';
      case U'{':
        return kShift | 0xDB;
      case U'}':
        return kShift | 0xDD;
      default:
        return platform::kNoKey;
    }
  }

  bool numLockOn() override { return numLock; }
  void setNumLock(bool on) override { numLock = on; }
  bool keysHeld() override { return false; }
  void pumpMessages() override {}

  static bool isModifier(std::uint8_t key) {
    return key == platform::kVkShift || key == platform::kVkControl || key == platform::kVkMenu;
  }

  std::bitset<256> held;
  std::vector<std::uint8_t> typed;
  bool numLock = false;
};

void CheckNothingHeld(const HeldKeySink& sink) {
  if (sink.held.any()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

  {
    HeldKeySink sink;
    fakes::FakeDialogs dialogs;
    try {
      input::SendKeys(sink, dialogs, text, size % 2 == 1);
    } catch (const input::KeyCountError&) {
      // A bad repeat count ends the call; the keys must be up all the same.
    }
    CheckNothingHeld(sink);
  }

  // The escaped text is typed as it stands: one key per character that the layout has, one
  // refusal for each that it has not.
  const QString literal = text.left(text.indexOf(QChar(u'\0')));
  HeldKeySink sink;
  fakes::FakeDialogs dialogs;
  const bool sent = input::SendKeys(sink, dialogs, input::EscapeForKeyLanguage(literal), false);
  if (sent != !literal.isEmpty()) std::abort();
  CheckNothingHeld(sink);
  std::vector<std::uint8_t> expected;
  qsizetype refusals = 0;
  HeldKeySink layout;
  for (char32_t c : literal.toStdU32String()) {
    const std::uint16_t key = layout.keyForCharacter(c);
    if (key == platform::kNoKey) {
      ++refusals;
    } else {
      expected.push_back(static_cast<std::uint8_t>(key & 0xFF));
    }
  }
  if (sink.typed != expected || dialogs.texts("message").size() != refusals) std::abort();
  return 0;
}
