#include "tests/unit/input/us_layout_decoder.h"

#include <map>
#include <utility>

namespace input_test {
namespace {

// What each key of a US keyboard types, without and with Shift.
const std::map<std::uint8_t, std::pair<char, char>>& UsKeys() {
  static const auto* keys = [] {
    auto* map = new std::map<std::uint8_t, std::pair<char, char>>;
    for (char c = 'A'; c <= 'Z'; ++c) (*map)[static_cast<std::uint8_t>(c)] = {char(c - 'A' + 'a'), c};
    const char* shiftedDigits = ")!@#$%^&*(";
    for (int d = 0; d < 10; ++d) (*map)[static_cast<std::uint8_t>('0' + d)] = {char('0' + d), shiftedDigits[d]};
    (*map)[0x20] = {' ', ' '};
    (*map)[0xBA] = {';', ':'};
    (*map)[0xBB] = {'=', '+'};
    (*map)[0xBC] = {',', '<'};
    (*map)[0xBD] = {'-', '_'};
    (*map)[0xBE] = {'.', '>'};
    (*map)[0xBF] = {'/', '?'};
    (*map)[0xC0] = {'`', '~'};
    (*map)[0xDB] = {'[', '{'};
    (*map)[0xDC] = {'\\', '|'};
    (*map)[0xDD] = {']', '}'};
    (*map)[0xDE] = {'\'', '"'};
    return map;
  }();
  return *keys;
}

}  // namespace

QString DecodeUsTyping(const std::vector<fakes::KeyEvent>& events) {
  QString text;
  // Key state is one bit per key: a second press of Shift changes nothing, one release ends it.
  bool shift = false, control = false, alt = false;
  for (const fakes::KeyEvent& event : events) {
    switch (event.virtualKey) {
      case 16:
        shift = event.down;
        continue;
      case 17:
        control = event.down;
        continue;
      case 18:
        alt = event.down;
        continue;
    }
    if (!event.down) continue;
    auto it = UsKeys().find(event.virtualKey);
    if (it == UsKeys().end() || control || alt)
      text += QChar(0xFFFD);
    else
      text += QLatin1Char(shift ? it->second.second : it->second.first);
  }
  return text;
}

}  // namespace input_test
