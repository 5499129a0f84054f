#pragma once
// Stand-ins where the display offers no global hot keys or synthetic keys (not an X11 session).
#include "platform/hot_keys.h"
#include "platform/key_sink.h"

namespace platform {

class NullHotKeys final : public HotKeys {
 public:
  using HotKeys::HotKeys;
  bool registerHotKey(int, unsigned, std::uint8_t) override { return false; }
  void unregisterHotKey(int) override {}
};

class NullKeySink final : public KeySink {
 public:
  void keyDown(std::uint8_t, bool) override {}
  void keyUp(std::uint8_t, bool) override {}
  std::uint16_t keyForCharacter(char32_t) override { return kNoKey; }
  bool numLockOn() override { return false; }
  void setNumLock(bool) override {}
  bool controlHeld() override { return false; }
  void pumpMessages() override {}
};

}  // namespace platform
