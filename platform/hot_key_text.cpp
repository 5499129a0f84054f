#include "platform/hot_key_text.h"

#include <QStringList>
#include <array>
#include <map>

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

// The key's X keysym name, which portal triggers and GNOME bindings both use.
QString KeysymName(std::uint8_t virtualKey) {
  if (virtualKey >= '0' && virtualKey <= '9') return QString(QChar(virtualKey));
  if (virtualKey >= 'A' && virtualKey <= 'Z') return QString(QChar(virtualKey)).toLower();
  if (virtualKey >= 112 && virtualKey <= 127) return "F" + QString::number(virtualKey - 111);
  static const std::map<std::uint8_t, const char*> kNames{
      {8, "BackSpace"}, {9, "Tab"},        {13, "Return"}, {19, "Pause"},  {27, "Escape"}, {32, "space"},
      {33, "Page_Up"},  {34, "Page_Down"}, {35, "End"},    {36, "Home"},   {37, "Left"},   {38, "Up"},
      {39, "Right"},    {40, "Down"},      {42, "Print"},  {45, "Insert"}, {46, "Delete"}};
  const auto name = kNames.find(virtualKey);
  return name == kNames.end() ? QString() : QString::fromLatin1(name->second);
}

// The names of Ctrl, Alt, Shift and Super in this order, then the key's.
QString DesktopShortcutText(const QString& portableText, const std::array<QString, 4>& modifierNames,
                            const QString& separator) {
  const std::optional<HotKeyCombination> combination = HotKeyFromText(portableText);
  if (!combination || IsEditorKey(portableText)) return {};
  const std::array<unsigned, 4> modifiers{kModControl, kModAlt, kModShift, kModWin};
  QStringList parts;
  for (std::size_t i = 0; i < modifiers.size(); ++i)
    if (combination->modifiers & modifiers.at(i)) parts << modifierNames.at(i);
  parts << KeysymName(combination->virtualKey);
  return parts.join(separator);
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

bool IsEditorKey(const QString& portableText) {
  const QKeySequence sequence = QKeySequence::fromString(portableText, QKeySequence::PortableText);
  if (sequence.isEmpty()) return false;
  const QKeyCombination chord = sequence[0];
  const Qt::Key key = chord.key();
  const bool movesTheCursor = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down ||
                              key == Qt::Key_Home || key == Qt::Key_End;
  return movesTheCursor &&
         !(chord.keyboardModifiers() & ~(Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier));
}

QString PortalTrigger(const QString& portableText) {
  return DesktopShortcutText(portableText, {"CTRL", "ALT", "SHIFT", "LOGO"}, "+");
}

QString GnomeBinding(const QString& portableText) {
  return DesktopShortcutText(portableText, {"<Control>", "<Alt>", "<Shift>", "<Super>"}, "");
}

}  // namespace platform
