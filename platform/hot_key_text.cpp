#include "platform/hot_key_text.h"

#include "platform/hot_keys.h"

namespace platform {
namespace {

// The Windows virtual-key code of a key, for the keys the X11 backend can grab.
std::optional<std::uint8_t> VirtualKeyOf(Qt::Key key) {
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
    return static_cast<std::uint8_t>(key);  // the same codes in both
  if (key >= Qt::Key_F1 && key <= Qt::Key_F16) return static_cast<std::uint8_t>(112 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Pause:
      return 19;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return kVkLeft;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return kVkRight;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Print:
      return 42;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    default:
      return std::nullopt;
  }
}

}  // namespace

QString FirstChordText(const QKeySequence& sequence) {
  if (sequence.isEmpty()) return {};
  return QKeySequence(sequence[0]).toString(QKeySequence::PortableText);
}

QString NativeHotKeyText(const QString& portableText) {
  return QKeySequence::fromString(portableText, QKeySequence::PortableText).toString(QKeySequence::NativeText);
}

std::optional<HotKeyCombination> HotKeyFromSequence(const QKeySequence& sequence) {
  if (sequence.isEmpty()) return std::nullopt;
  const QKeyCombination chord = sequence[0];
  const Qt::KeyboardModifiers held = chord.keyboardModifiers();
  if (held & Qt::KeypadModifier) return std::nullopt;
  // Shift alone would take a letter or digit away from every text field.
  if (!(held & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) return std::nullopt;
  const std::optional<std::uint8_t> virtualKey = VirtualKeyOf(chord.key());
  if (!virtualKey) return std::nullopt;
  HotKeyCombination combination{0, *virtualKey};
  if (held & Qt::AltModifier) combination.modifiers |= kModAlt;
  if (held & Qt::ControlModifier) combination.modifiers |= kModControl;
  if (held & Qt::ShiftModifier) combination.modifiers |= kModShift;
  if (held & Qt::MetaModifier) combination.modifiers |= kModWin;
  return combination;
}

std::optional<HotKeyCombination> HotKeyFromText(const QString& portableText) {
  const QKeySequence sequence = QKeySequence::fromString(portableText, QKeySequence::PortableText);
  // Text Qt cannot read comes back as Qt::Key_unknown, which no hot key accepts.
  return HotKeyFromSequence(sequence);
}

}  // namespace platform
