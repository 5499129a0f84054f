#include "input/key_release_wait.h"

#include <utility>

#include "platform/key_sink.h"

namespace input {

KeyReleaseWait::KeyReleaseWait(platform::KeySink& sink, QObject* parent) : QObject(parent), sink_(sink) {
  poll_.setInterval(std::chrono::milliseconds(10));
  connect(&poll_, &QTimer::timeout, this, &KeyReleaseWait::poll);
}

void KeyReleaseWait::wait(std::function<void(bool allUp)> done, std::chrono::milliseconds limit) {
  cancel();
  if (!sink_.keysHeld()) {
    done(true);
    return;
  }
  done_ = std::move(done);
  deadline_ = std::chrono::steady_clock::now() + limit;
  poll_.start();
}

void KeyReleaseWait::cancel() {
  poll_.stop();
  done_ = nullptr;
}

void KeyReleaseWait::poll() {
  const bool allUp = !sink_.keysHeld();
  if (!allUp && std::chrono::steady_clock::now() < deadline_) return;
  poll_.stop();
  std::exchange(done_, nullptr)(allUp);
}

}  // namespace input
