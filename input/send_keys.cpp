#include "input/send_keys.h"

#include <array>
#include <string>
#include <string_view>
#include <thread>

#include "input/fill_outcome.h"
#include "platform/dialogs.h"
#include "platform/key_sink.h"

namespace input {
namespace {

using platform::kNoKey;

const QString kCaption = QStringLiteral("SendKeys");
const QString kRefusal = FillOutcomeText(FillOutcome::kUntypable);
const QString kNoClose = QStringLiteral("No Close");

// Key names are kept in the system's ANSI code page, at most this many bytes.
constexpr std::size_t kMaxNameBytes = 20;

struct NamedKey {
  std::u32string_view name;
  std::uint8_t code;
};

constexpr std::array<NamedKey, 41> kKeyNameTable{{
    {U"BKSP", 8},    {U"BS", 8},      {U"BACKSPACE", 8},    {U"BREAK", 3},     {U"CAPSLOCK", 20}, {U"CLEAR", 12},
    {U"DEL", 46},    {U"DELETE", 46}, {U"DOWN", 40},        {U"END", 35},      {U"ENTER", 13},    {U"ESC", 27},
    {U"ESCAPE", 27}, {U"F1", 112},    {U"F2", 113},         {U"F3", 114},      {U"F4", 115},      {U"F5", 116},
    {U"F6", 117},    {U"F7", 118},    {U"F8", 119},         {U"F9", 120},      {U"F10", 121},     {U"F11", 122},
    {U"F12", 123},   {U"F13", 124},   {U"F14", 125},        {U"F15", 126},     {U"F16", 127},     {U"HELP", 47},
    {U"HOME", 36},   {U"INS", 45},    {U"LEFT", 37},        {U"NUMLOCK", 144}, {U"PGDN", 34},     {U"PGUP", 33},
    {U"PRTSC", 42},  {U"RIGHT", 39},  {U"SCROLLLOCK", 145}, {U"TAB", 9},       {U"UP", 38},
}};

bool IsModifierKey(std::uint8_t code) {
  return code == platform::kVkShift || code == platform::kVkControl || code == platform::kVkMenu;
}

// Page Up/Down, End, Home, the arrows, Insert and Delete travel with the extended-key flag.
bool IsExtendedKey(std::uint8_t code) { return (code >= 33 && code <= 40) || code == 45 || code == 46; }

// Bytes a character takes in code page 936: ASCII and the euro sign one, anything else two.
// Characters outside the code page count as two as well, so they never pass for a one-byte name.
std::size_t AnsiWidth(char32_t c) { return (c < 0x80 || c == 0x20AC) ? 1 : 2; }

std::size_t AnsiLength(std::u32string_view text) {
  std::size_t bytes = 0;
  for (char32_t c : text) bytes += AnsiWidth(c);
  return bytes;
}

QString ToQString(std::u32string_view text) {
  return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

// Decimal digits with an optional sign, within the 32-bit range; kept modulo 65536.
std::uint16_t ParseRepeatCount(std::u32string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == U'+' || text[i] == U'-')) negative = text[i++] == U'-';
  bool valid = i < text.size();
  std::int64_t value = 0;
  for (; valid && i < text.size(); ++i) {
    if (text[i] < U'0' || text[i] > U'9') {
      valid = false;
      break;
    }
    value = value * 10 + (text[i] - U'0');
    if (value > 2147483648LL) valid = false;
  }
  if (negative) value = -value;
  if (!valid || value > 2147483647LL)
    throw KeyCountError(QStringLiteral("'%1' is not a valid integer value").arg(ToQString(text)).toStdString());
  return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value));
}

class Sender {
 public:
  Sender(platform::KeySink& sink, platform::Dialogs& dialogs, bool pump)
      : sink_(sink), dialogs_(dialogs), pump_(pump) {}

  bool run(const std::u32string& text) {
    if (text.empty()) return false;
    std::size_t pos = 0;
    while (pos < text.size()) {
      switch (text[pos]) {
        case U'(':
          inGroup_ = true;
          ++pos;
          break;
        case U')':
          inGroup_ = false;
          releaseModifiers();
          ++pos;
          break;
        case U'%':
          altHeld_ = true;
          pressKey(platform::kVkMenu, 1, false);
          ++pos;
          break;
        case U'+':
          shiftHeld_ = true;
          pressKey(platform::kVkShift, 1, false);
          ++pos;
          break;
        case U'^':
          controlHeld_ = true;
          pressKey(platform::kVkControl, 1, false);
          ++pos;
          break;
        case U'~':
          pressKey(platform::kVkReturn, 1, true);
          releaseModifiers();
          ++pos;
          break;
        case U'{':
          if (!braceGroup(text, pos)) {
            // Let go before the box appears, so the user's clicks in it are not modified.
            releaseEverythingHeld();
            dialogs_.messageWithCaption(kCaption, kNoClose);
            return false;
          }
          break;
        default: {
          std::uint16_t key = sink_.keyForCharacter(text[pos]);
          if (key == kNoKey) {
            refuse();
          } else {
            typeKeyCode(key, 1, true);
            releaseModifiers();
          }
          ++pos;
        }
      }
    }
    releaseEverythingHeld();
    return !interrupted_;
  }

 private:
  // One brace group starting at pos; false when it has no closing brace.
  bool braceGroup(const std::u32string& text, std::size_t& pos) {
    if (pos + 1 < text.size() && text[pos + 1] == U'{') {
      typeLiteral(U'{');
      pos += 3;  // "{{" and the character after it, normally "}"
      return true;
    }

    std::u32string name;
    std::size_t nameBytes = 0;
    bool closed = false;
    while (++pos < text.size()) {
      char32_t c = text[pos];
      if (c == U'}') {
        ++pos;
        closed = true;
        break;
      }
      if (c >= U'a' && c <= U'z') c -= U'a' - U'A';
      if (nameBytes < kMaxNameBytes) {
        name.push_back(c);
        nameBytes += AnsiWidth(c);
      }
    }
    if (!closed) return false;

    if (pos < text.size() && text[pos] == U'}') {
      typeLiteral(U'}');
      ++pos;
      return true;
    }

    std::uint16_t count = 1;
    if (std::size_t space = name.find(U' '); space != std::u32string::npos) {
      std::u32string countText = name.substr(space + 1);
      name.resize(space);
      try {
        count = ParseRepeatCount(countText);
      } catch (const KeyCountError&) {
        // The call ends here; no modifier may stay down behind the error message.
        releaseEverythingHeld();
        throw;
      }
    }

    const bool character = AnsiLength(name) == 1;
    std::uint16_t key = kNoKey;
    if (character) {
      key = sink_.keyForCharacter(name.front());
      if (key == kNoKey) refuse();
    } else {
      key = lookUpKeyName(name);
    }
    if (key != kNoKey) {
      typeKeyCode(key, count, character);
      releaseModifiers();
    }
    return true;
  }

  // The braces themselves, typed with whatever key the layout has for them.
  void typeLiteral(char32_t brace) {
    std::uint16_t key = sink_.keyForCharacter(brace);
    if (key == kNoKey)
      refuse();
    else
      typeKeyCode(key, 1, true);
    releaseModifiers();
  }

  std::uint16_t lookUpKeyName(const std::u32string& name) {
    for (const NamedKey& entry : kKeyNameTable)
      if (entry.name == name) return entry.code;
    refuse();
    return kNoKey;
  }

  void refuse() { dialogs_.messageWithCaption(kCaption, kRefusal); }

  void emitKey(std::uint8_t code, bool down, bool extended) {
    if (down)
      sink_.keyDown(code, extended);
    else
      sink_.keyUp(code, extended);
    if (pump_) sink_.pumpMessages();
  }

  // characterKey: the key keyForCharacter answered, when this is a character's key.
  void pressKey(std::uint8_t code, unsigned count, bool withRelease, std::uint16_t characterKey = kNoKey) {
    if (code == platform::kVkNumLock) {
      sink_.setNumLock(!sink_.numLockOn());
      return;
    }
    if (!IsModifierKey(code) && !userLetGo()) return;
    if (characterKey != kNoKey && count > 0)
      for (auto wait = sink_.prepareKey(characterKey); wait.count() > 0; wait = sink_.prepareKey(characterKey))
        std::this_thread::sleep_for(wait);
    bool extended = IsExtendedKey(code);
    for (unsigned i = 0; i < count; ++i) {
      emitKey(code, true, extended);
      if (withRelease) emitKey(code, false, extended);
      if (characterKey != kNoKey) std::this_thread::sleep_for(sink_.pauseAfterCharacter());
    }
  }

  void releaseKey(std::uint8_t code) { emitKey(code, false, false); }

  // A key the user holds meanwhile would turn what follows into shortcuts (Ctrl+Q for q): wait
  // for it, and drop the rest when it stays down.
  bool userLetGo() {
    if (!interrupted_ && !WaitForKeyRelease(sink_)) interrupted_ = true;
    return !interrupted_;
  }

  void typeKeyCode(std::uint16_t keyCode, unsigned count, bool character) {
    const unsigned modifiers = keyCode >> 8;
    if (modifiers & platform::kShiftBit) pressKey(platform::kVkShift, 1, false);
    if (modifiers & platform::kControlBit) pressKey(platform::kVkControl, 1, false);
    if (modifiers & platform::kAltBit) pressKey(platform::kVkMenu, 1, false);
    pressKey(static_cast<std::uint8_t>(keyCode & 0xFF), count, true, character ? keyCode : kNoKey);
    if (modifiers & platform::kShiftBit) releaseKey(platform::kVkShift);
    if (modifiers & platform::kControlBit) releaseKey(platform::kVkControl);
    if (modifiers & platform::kAltBit) releaseKey(platform::kVkMenu);
  }

  void releaseModifiers() {
    if (inGroup_) return;
    if (shiftHeld_) releaseKey(platform::kVkShift);
    if (controlHeld_) releaseKey(platform::kVkControl);
    if (altHeld_) releaseKey(platform::kVkMenu);
    shiftHeld_ = controlHeld_ = altHeld_ = false;
  }

  // Whenever the call ends, also with a group still open: nothing it pressed stays down.
  void releaseEverythingHeld() {
    inGroup_ = false;
    releaseModifiers();
  }

  platform::KeySink& sink_;
  platform::Dialogs& dialogs_;
  const bool pump_;
  bool inGroup_ = false;
  bool shiftHeld_ = false;
  bool controlHeld_ = false;
  bool altHeld_ = false;
  bool interrupted_ = false;
};

}  // namespace

bool SendKeys(platform::KeySink& sink, platform::Dialogs& dialogs, const QString& text, bool pumpKeyMessages) {
  std::u32string characters = text.toStdU32String();
  if (std::size_t zero = characters.find(U'\0'); zero != std::u32string::npos) characters.resize(zero);
  return Sender(sink, dialogs, pumpKeyMessages).run(characters);
}

QString EscapeForKeyLanguage(const QString& text) {
  QString escaped;
  escaped.reserve(text.size() * 2);
  for (QChar c : text) {
    switch (c.unicode()) {
      case u'{':
        escaped += QStringLiteral("{{}");
        break;
      case u'}':
        escaped += QStringLiteral("{}}");
        break;
      case u'+':
      case u'^':
      case u'%':
      case u'~':
      case u'(':
      case u')':
        escaped += u'{';
        escaped += c;
        escaped += u'}';
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

bool WaitForKeyRelease(platform::KeySink& sink, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (sink.keysHeld()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

bool CanTypeLiterally(platform::KeySink& sink, platform::Dialogs& dialogs, const QString& text) {
  for (char32_t c : text.toStdU32String()) {
    if (sink.keyForCharacter(c) != kNoKey) continue;
    dialogs.messageWithCaption(kCaption, kRefusal + "\n无法输入的字符: " + ToQString(std::u32string_view(&c, 1)));
    return false;
  }
  return true;
}

}  // namespace input
