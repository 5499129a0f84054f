#pragma once
// Records hot-key registrations and lets a test press them.
#include <cstdint>
#include <functional>
#include <map>
#include <set>

#include "platform/hot_keys.h"

namespace fakes {

struct HotKeyCombination {
  unsigned modifiers;
  std::uint8_t virtualKey;
  bool operator==(const HotKeyCombination&) const = default;
};

class FakeHotKeys final : public platform::HotKeys {
 public:
  using platform::HotKeys::HotKeys;

  bool registerHotKey(int id, unsigned modifiers, std::uint8_t virtualKey) override {
    ++registerCalls;
    if (taken.count(virtualKey)) return false;
    registered[id] = {modifiers, virtualKey};
    return true;
  }
  void unregisterHotKey(int id) override {
    ++unregisterCalls;
    registered.erase(id);
  }

  // A press of the hot key; only registered ones reach the program, as on a real desktop.
  void press(int id) {
    if (registered.count(id)) emit pressed(id);
    if (afterPress) afterPress();
  }

  std::map<int, HotKeyCombination> registered;
  std::set<std::uint8_t> taken;  // virtual keys another program holds
  int registerCalls = 0;
  int unregisterCalls = 0;
  std::function<void()> afterPress;  // the harness waits here for the fill the press started
};

}  // namespace fakes
