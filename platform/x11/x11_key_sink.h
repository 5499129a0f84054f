#pragma once
// Synthetic keystrokes through XTest on the server's current keyboard layout: characters are
// typed as characters (with Shift or AltGr as the layout wants), and a character the layout
// lacks is put on a spare key, which gets its emptiness back once typing has paused.
#include <array>
#include <bitset>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

#include "platform/character_keys.h"
#include "platform/key_sink.h"
#include "platform/x11/x11_layout.h"

struct _XDisplay;  // NOLINT(bugprone-reserved-identifier): Xlib's own name for Display
class QTimer;

namespace platform::x11 {

class X11KeySink final : public KeySink {
 public:
  // nullptr when the display cannot be opened or has no XTest or XKB.
  static std::unique_ptr<X11KeySink> open(const char* displayName = nullptr);
  ~X11KeySink() override;
  X11KeySink(const X11KeySink&) = delete;
  X11KeySink& operator=(const X11KeySink&) = delete;

  void keyDown(std::uint8_t virtualKey, bool extended) override;
  void keyUp(std::uint8_t virtualKey, bool extended) override;
  std::uint16_t keyForCharacter(char32_t character) override;
  bool numLockOn() override;
  void setNumLock(bool on) override;
  bool keysHeld() override;
  void pumpMessages() override;
  // Puts a character the layout lacks on a spare key; the answer covers the time the receivers need
  // to read the new keymap, and, when every spare key is taken, the time the last strokes on them
  // need before the keys are given back.
  std::chrono::milliseconds prepareKey(std::uint16_t key) override;
  std::chrono::milliseconds pauseAfterCharacter() const override;

 private:
  using Clock = std::chrono::steady_clock;

  // A virtual key of our own that stands for one character.
  struct CharacterSlot {
    char32_t character = 0;
    unsigned long keysym = 0;
    KeyStroke pressed;            // keycode 0 while not pressed
    Clock::time_point settled{};  // when the key borrowed for it may be pressed
  };

  explicit X11KeySink(_XDisplay* display);
  CharacterSlot* slotFor(std::uint8_t virtualKey);
  void pressCharacter(CharacterSlot& slot);
  void releaseCharacter(CharacterSlot& slot);
  std::chrono::milliseconds borrowKeyFor(CharacterSlot& slot, Clock::time_point now);
  void scheduleReturnOfBorrowedKeys();
  void returnBorrowedKeys();
  void sendKey(unsigned keycode, bool down);
  void lockCapsLock(bool on);
  unsigned numLockMask();

  _XDisplay* display_;
  std::array<CharacterSlot, kCharacterKeyCount> slots_{};
  std::size_t nextSlot_ = 0;
  std::vector<unsigned> borrowed_;  // spare keys that carry a character for the time being
  std::optional<Clock::time_point> allTakenSince_;
  std::unique_ptr<QTimer> returnTimer_;
  std::bitset<256> sentDown_;  // keycodes this sink pressed and has not released
};

}  // namespace platform::x11
