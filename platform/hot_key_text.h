#pragma once
// Hot-key combinations as the user chooses them, in Qt's portable key text ("Ctrl+Left",
// "Ctrl+Alt+P"; the Super key is "Meta"), turned into what HotKeys registers.
#include <QKeySequence>
#include <QString>
#include <cstdint>
#include <optional>

namespace platform {

struct HotKeyCombination {
  unsigned modifiers = 0;  // kModAlt, kModControl, kModShift, kModWin
  std::uint8_t virtualKey = 0;
  bool operator==(const HotKeyCombination&) const = default;
};

// The first chord of the sequence alone (a key-sequence field may record up to four), in
// portable text; empty for an empty sequence.
QString FirstChordText(const QKeySequence& sequence);

// A combination's portable text as the user reads it on this desktop (Qt's native text).
QString NativeHotKeyText(const QString& portableText);

// The first chord as a combination, when it holds Ctrl, Alt or Meta and a key that can be
// grabbed (letters, digits, F1 to F16, arrows and the named keys of the editing block); a
// key of the numeric keypad is refused.
std::optional<HotKeyCombination> HotKeyFromSequence(const QKeySequence& sequence);
std::optional<HotKeyCombination> HotKeyFromText(const QString& portableText);

// Whether the combination moves or selects in a text field (Ctrl or Shift with an arrow, Home or
// End): a desktop that owns it takes that away from every program, so it is never offered there.
bool IsEditorKey(const QString& portableText);

// The combination as a desktop shortcut: a GlobalShortcuts portal trigger ("CTRL+ALT+p") or a
// GNOME binding ("<Control><Alt>p"); empty for an editor key or what cannot be a hot key.
QString PortalTrigger(const QString& portableText);
QString GnomeBinding(const QString& portableText);

}  // namespace platform
