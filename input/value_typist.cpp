#include "input/value_typist.h"

#include <utility>

#include "platform/key_sink.h"

namespace input {

ValueTypist::ValueTypist(platform::KeySink& sink, QObject* parent)
    : QObject(parent), sink_(sink), release_(sink, this) {
  step_.setSingleShot(true);
}

void ValueTypist::type(const QString& value, std::function<void(bool whole)> done) {
  cancel();
  characters_ = value.toStdU32String();
  position_ = 0;
  done_ = std::move(done);
  nextCharacter();
}

void ValueTypist::cancel() {
  release_.cancel();
  step_.stop();
  step_.disconnect();
  done_ = nullptr;
}

void ValueTypist::nextCharacter() {
  if (position_ == characters_.size()) {
    finish(true);
    return;
  }
  release_.wait([this](bool allUp) {
    if (!allUp) {
      finish(false);
      return;
    }
    key_ = sink_.keyForCharacter(characters_[position_]);
    prepareKey();
  });
}

// A character put on a spare key just now reaches the receiver's keymap only after a while.
void ValueTypist::prepareKey() {
  const std::chrono::milliseconds wait = sink_.prepareKey(key_);
  if (wait.count() <= 0) {
    strikeKey();
    return;
  }
  step_.disconnect();
  connect(&step_, &QTimer::timeout, this, &ValueTypist::prepareKey);
  step_.start(wait);
}

void ValueTypist::strikeKey() {
  const unsigned modifiers = key_ >> 8;
  const auto virtualKey = static_cast<std::uint8_t>(key_ & 0xFF);
  if (key_ != platform::kNoKey) {
    if (modifiers & platform::kShiftBit) sink_.keyDown(platform::kVkShift, false);
    if (modifiers & platform::kControlBit) sink_.keyDown(platform::kVkControl, false);
    if (modifiers & platform::kAltBit) sink_.keyDown(platform::kVkMenu, false);
    sink_.keyDown(virtualKey, false);
    sink_.keyUp(virtualKey, false);
    if (modifiers & platform::kShiftBit) sink_.keyUp(platform::kVkShift, false);
    if (modifiers & platform::kControlBit) sink_.keyUp(platform::kVkControl, false);
    if (modifiers & platform::kAltBit) sink_.keyUp(platform::kVkMenu, false);
  }
  ++position_;
  // Also without a pause the event loop runs between two characters, so the program's own
  // windows take the keys sent to them.
  step_.disconnect();
  connect(&step_, &QTimer::timeout, this, &ValueTypist::nextCharacter);
  step_.start(sink_.pauseAfterCharacter());
}

void ValueTypist::finish(bool whole) {
  auto done = std::exchange(done_, nullptr);
  if (done) done(whole);
}

}  // namespace input
