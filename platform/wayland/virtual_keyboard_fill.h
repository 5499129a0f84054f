#pragma once
// The wlroots virtual keyboard as one of the fill's Wayland backends: a keyboard of its own for
// each fill, made as the fill starts and let go when it ends.
#include <memory>

#include "platform/key_sink.h"
#include "platform/wayland/wayland_virtual_keyboard.h"

namespace platform::wayland {

class VirtualKeyboardFill final : public KeySink {
 public:
  // pastes: the program's copies reach native windows (it sets the Wayland clipboard itself).
  explicit VirtualKeyboardFill(bool pastes) : pastes_(pastes) {}

  void keyDown(std::uint8_t virtualKey, bool extended) override { keyboard_->keyDown(virtualKey, extended); }
  void keyUp(std::uint8_t virtualKey, bool extended) override { keyboard_->keyUp(virtualKey, extended); }
  std::uint16_t keyForCharacter(char32_t character) override { return keyboard_->keyForCharacter(character); }
  bool numLockOn() override { return keyboard_->numLockOn(); }
  void setNumLock(bool on) override { keyboard_->setNumLock(on); }
  bool keysHeld() override { return keyboard_->keysHeld(); }
  void pumpMessages() override { keyboard_->pumpMessages(); }

  // kUnavailable where the compositor offers no virtual keyboard.
  void startFill(std::function<void(FillReadiness)> ready) override;
  void fillEnded() override { keyboard_.reset(); }

 private:
  const bool pastes_;
  std::unique_ptr<WaylandVirtualKeyboard> keyboard_;
};

}  // namespace platform::wayland
