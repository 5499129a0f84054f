#pragma once
// An input method that records each question and switch with the number of keys sent before it.
#include <string>
#include <vector>

#include "platform/input_method.h"
#include "tests/fakes/fake_key_sink.h"

namespace fakes {

class FakeInputMethod final : public platform::InputMethod {
 public:
  struct Call {
    std::string what;  // "state", "direct" or "back"
    std::size_t keysSentBefore;
    bool operator==(const Call&) const = default;
  };

  explicit FakeInputMethod(const std::vector<KeyEvent>& keysSent) : keysSent_(keysSent) {}

  platform::InputMethodState state() override {
    record("state");
    return current;
  }
  bool switchToDirectInput() override {
    record("direct");
    if (refuseDirect) return false;
    current = platform::InputMethodState::kOff;
    return true;
  }
  bool switchBack() override {
    record("back");
    if (refuseBack) return false;
    current = platform::InputMethodState::kActive;
    return true;
  }

  platform::InputMethodState current = platform::InputMethodState::kOff;
  bool refuseDirect = false;
  bool refuseBack = false;
  std::vector<Call> calls;

 private:
  void record(const char* what) { calls.push_back({what, keysSent_.size()}); }
  const std::vector<KeyEvent>& keysSent_;
};

}  // namespace fakes
