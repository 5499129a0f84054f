#pragma once
// The key sink of each fill, chosen as the fill starts and never once for the run (a portal may
// start after the program): XTest on an X11 session, and on a Wayland one while an XWayland window
// has the focus; otherwise the first Wayland backend that the desktop offers.
#include <functional>
#include <vector>

#include "platform/key_sink.h"
#include "platform/null_key_sink.h"

namespace platform {

class KeySinkRoute final : public KeySink {
 public:
  // The Wayland backends in the order they are tried: one that answers kUnavailable is passed over.
  KeySinkRoute(bool waylandSession, KeySink& x11, std::function<bool()> x11WindowFocused,
               std::vector<KeySink*> waylandBackends);

  void keyDown(std::uint8_t virtualKey, bool extended) override { chosen_->keyDown(virtualKey, extended); }
  void keyUp(std::uint8_t virtualKey, bool extended) override { chosen_->keyUp(virtualKey, extended); }
  std::uint16_t keyForCharacter(char32_t character) override { return chosen_->keyForCharacter(character); }
  bool numLockOn() override { return chosen_->numLockOn(); }
  void setNumLock(bool on) override { chosen_->setNumLock(on); }
  bool keysHeld() override { return chosen_->keysHeld(); }
  void pumpMessages() override { chosen_->pumpMessages(); }

  void startFill(std::function<void(FillReadiness)> ready) override;
  void fillEnded() override { chosen_->fillEnded(); }
  void closeSession() override;
  std::chrono::milliseconds prepareKey(std::uint16_t key) override { return chosen_->prepareKey(key); }
  std::chrono::milliseconds pauseAfterCharacter() const override { return chosen_->pauseAfterCharacter(); }

 private:
  const bool waylandSession_;
  KeySink& x11_;
  std::function<bool()> x11WindowFocused_;
  // Asks the Wayland backends from the index on, until one is offered.
  void tryWaylandBackend(std::size_t index, std::function<void(FillReadiness)> ready);

  std::vector<KeySink*> waylandBackends_;
  NullKeySink none_;
  KeySink* chosen_;
};

}  // namespace platform
