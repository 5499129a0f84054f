#pragma once
// Where a character lives on the X server's current keyboard layout.
#include <optional>
#include <vector>

struct _XDisplay;  // NOLINT(bugprone-reserved-identifier): Xlib's own name for Display

namespace platform::x11 {

// The key that types a character and the modifier keys to hold around it.
struct KeyStroke {
  unsigned keycode = 0;
  std::vector<unsigned> modifierKeys;
  // CapsLock is on and receivers would upper-case this key's symbol: unlock it for the stroke.
  bool clearCapsLock = false;
};

// The keysym that stands for a character; 0 for control characters and non-characters.
unsigned long KeysymForCharacter(char32_t character);

// The stroke that types the character in the current group, taking the locked modifiers
// (CapsLock, NumLock) into account; nothing when the layout has no such key.
std::optional<KeyStroke> FindCharacterOnLayout(_XDisplay* display, char32_t character, unsigned long keysym);

// A keycode without symbols and without modifier role, free to carry a character for a moment;
// 0 when there is none.
unsigned FindSpareKeycode(_XDisplay* display);

}  // namespace platform::x11
