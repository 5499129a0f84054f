#pragma once
// Where the display offers no synthetic keys (not an X11 session), auto-fill types nothing.
#include "platform/key_sink.h"

namespace platform {

class NullKeySink final : public KeySink {
 public:
  void keyDown(std::uint8_t, bool) override {}
  void keyUp(std::uint8_t, bool) override {}
  std::uint16_t keyForCharacter(char32_t) override { return kNoKey; }
  bool numLockOn() override { return false; }
  void setNumLock(bool) override {}
  bool keysHeld() override { return false; }
  void pumpMessages() override {}
};

}  // namespace platform
