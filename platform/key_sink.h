#pragma once
// Where synthetic keystrokes go: Windows virtual-key codes down and up, plus keyboard state.
#include <chrono>
#include <cstdint>
#include <functional>

namespace platform {

// Modifier bits of a key code's high byte, as the key language uses them.
enum KeyModifier : std::uint8_t { kShiftBit = 1, kControlBit = 2, kAltBit = 4 };

// The key code that no key can produce.
inline constexpr std::uint16_t kNoKey = 0xFFFF;

// The virtual keys the program names itself.
inline constexpr std::uint8_t kVkReturn = 13;
inline constexpr std::uint8_t kVkShift = 16;
inline constexpr std::uint8_t kVkControl = 17;
inline constexpr std::uint8_t kVkMenu = 18;  // Alt
inline constexpr std::uint8_t kVkV = 86;
inline constexpr std::uint8_t kVkNumLock = 144;

// What a sink can do for the fill about to start.
enum class FillReadiness : std::uint8_t {
  kReady,
  // The keys go by keysym, and the compositor silently drops one that the focused window's layout
  // lacks: only printable ASCII is sure to arrive.
  kPrintableAsciiOnly,
  // Every character arrives as itself, but the focused window cannot read the program's clipboard:
  // a fill in paste style is typed too.
  kTypingOnly,
  kRefused,      // the user did not allow the desktop to take synthetic keys
  kUnavailable,  // nothing on this desktop takes them
};

inline bool IsPrintableAscii(char32_t character) { return character >= 0x20 && character <= 0x7E; }

class KeySink {
 public:
  virtual ~KeySink() = default;

  // One key event; extended marks the keys sent with the extended-key flag.
  virtual void keyDown(std::uint8_t virtualKey, bool extended) = 0;
  virtual void keyUp(std::uint8_t virtualKey, bool extended) = 0;

  // The key code that types this character on the current layout: low byte the virtual key,
  // high byte the modifier bits to hold around it; kNoKey when the character cannot be typed.
  // A backend may answer with a virtual key of its own that stands for the character and
  // brings the needed modifiers itself when pressed; such a code is valid until the next call.
  virtual std::uint16_t keyForCharacter(char32_t character) = 0;

  virtual bool numLockOn() = 0;
  virtual void setNumLock(bool on) = 0;

  // True while the user holds a key down (a modifier, or the hot key itself): keys sent then
  // would combine with it, or go to whoever holds the keyboard instead of the focused window.
  virtual bool keysHeld() = 0;

  // Lets the program's own windows handle the keys sent so far.
  virtual void pumpMessages() = 0;

  // Around each fill. A sink that types through a session the desktop grants opens it at the start;
  // the desktop may ask the user first, so ready is called once, at once or when the desktop has
  // answered, and with kRefused when closeSession() comes first. The session lasts until
  // closeSession(), at a lock or the exit.
  // NOLINTNEXTLINE(performance-unnecessary-value-param): a backend keeps it until the desktop answers
  virtual void startFill(std::function<void(FillReadiness)> ready) { ready(FillReadiness::kReady); }
  virtual void fillEnded() {}
  virtual void closeSession() {}

  // Before a key that keyForCharacter answered is pressed: zero when it can be pressed now, else how
  // long to wait before asking again (a character just put on a spare key needs time to reach the
  // receiver's keymap).
  virtual std::chrono::milliseconds prepareKey(std::uint16_t /*key*/) { return {}; }
  // How long the receiver needs after each typed character before the next one.
  virtual std::chrono::milliseconds pauseAfterCharacter() const { return {}; }
};

}  // namespace platform
