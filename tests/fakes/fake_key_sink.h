#pragma once
// Records every key event and answers character look-ups like a US keyboard layout.
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/key_sink.h"

namespace fakes {

struct KeyEvent {
  bool down;
  std::uint8_t virtualKey;
  bool extended;
  bool operator==(const KeyEvent&) const = default;
};

class FakeKeySink final : public platform::KeySink {
 public:
  void keyDown(std::uint8_t virtualKey, bool extended) override { events.push_back({true, virtualKey, extended}); }
  void keyUp(std::uint8_t virtualKey, bool extended) override { events.push_back({false, virtualKey, extended}); }

  std::uint16_t keyForCharacter(char32_t c) override {
    constexpr std::uint16_t kShift = platform::kShiftBit << 8;
    if (c >= U'a' && c <= U'z') return static_cast<std::uint16_t>(c - U'a' + 'A');
    if (c >= U'A' && c <= U'Z') return static_cast<std::uint16_t>(kShift | c);
    if (c >= U'0' && c <= U'9') return static_cast<std::uint16_t>(c);
    if (c == U' ') return 0x20;
    // Shifted digits, in the order of the keys 0 to 9.
    if (std::size_t i = std::u32string_view(U")!@#$%^&*(").find(c); i != std::u32string_view::npos)
      return static_cast<std::uint16_t>(kShift | ('0' + i));
    struct Oem {
      char32_t plain, shifted;
      std::uint8_t code;
    };
    constexpr Oem kOemKeys[] = {{U';', U':', 0xBA},  {U'=', U'+', 0xBB}, {U',', U'<', 0xBC}, {U'-', U'_', 0xBD},
                                {U'.', U'>', 0xBE},  {U'/', U'?', 0xBF}, {U'`', U'~', 0xC0}, {U'[', U'{', 0xDB},
                                {U'\\', U'|', 0xDC}, {U']', U'}', 0xDD}, {U'\'', U'"', 0xDE}};
    for (const Oem& key : kOemKeys) {
      if (c == key.plain) return key.code;
      if (c == key.shifted) return static_cast<std::uint16_t>(kShift | key.code);
    }
    return platform::kNoKey;
  }

  bool numLockOn() override { return numLock; }
  void setNumLock(bool on) override {
    numLock = on;
    ++numLockWrites;
  }

  // Reports a key as held for the first heldPolls questions, and from question pressedAt on.
  bool keysHeld() override {
    ++heldQuestions;
    if (pressedAt >= 0 && heldQuestions >= pressedAt) return true;
    if (heldPolls == 0) return false;
    if (heldPolls > 0) --heldPolls;
    return true;
  }

  void pumpMessages() override { ++pumps; }
  // Answers at once, or holds the answer in pendingStart until the test gives it.
  void startFill(std::function<void(platform::FillReadiness)> ready) override {
    if (answerLater)
      pendingStart = std::move(ready);
    else
      ready(readiness);
  }
  void fillEnded() override { ++fillsEnded; }
  void closeSession() override { ++sessionsClosed; }

  std::vector<KeyEvent> events;
  bool numLock = false;
  int numLockWrites = 0;
  int heldPolls = 0;  // negative: held for ever
  int heldQuestions = 0;
  int pressedAt = -1;  // the question at which the user presses a key and keeps it down
  int pumps = 0;
  platform::FillReadiness readiness = platform::FillReadiness::kReady;
  bool answerLater = false;
  std::function<void(platform::FillReadiness)> pendingStart;
  int fillsEnded = 0;
  int sessionsClosed = 0;
};

}  // namespace fakes
