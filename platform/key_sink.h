#pragma once
// Where synthetic keystrokes go: Windows virtual-key codes down and up, plus keyboard state.
#include <cstdint>

namespace platform {

// Modifier bits of a key code's high byte, as the key language uses them.
enum KeyModifier : std::uint8_t { kShiftBit = 1, kControlBit = 2, kAltBit = 4 };

inline constexpr std::uint16_t kNoKey = 0xFFFF;

class KeySink {
 public:
  virtual ~KeySink() = default;

  // One key event; extended marks the keys sent with the extended-key flag.
  virtual void keyDown(std::uint8_t virtualKey, bool extended) = 0;
  virtual void keyUp(std::uint8_t virtualKey, bool extended) = 0;

  // The key code that types this character on the current layout: low byte the virtual key,
  // high byte the modifier bits it needs; kNoKey when the layout cannot type it.
  virtual std::uint16_t keyForCharacter(char32_t character) = 0;

  // Types one character whose key code came from keyForCharacter (the backend may need the
  // character itself to reach it, for example through a spare key).
  virtual void typeCharacter(char32_t character) = 0;

  virtual bool numLockOn() = 0;
  virtual void setNumLock(bool on) = 0;

  // True while a physical Control key is held down.
  virtual bool controlHeld() = 0;

  // Lets the program's own windows handle the keys sent so far.
  virtual void pumpMessages() = 0;
};

}  // namespace platform
