#pragma once
// Records the idle limit and lets a test reach it, lock the screen or put the machine to sleep.
#include <chrono>

#include "platform/lock_signals.h"

namespace fakes {

class FakeLockSignals final : public platform::LockSignals {
 public:
  using platform::LockSignals::LockSignals;

  void setIdleLimit(std::chrono::seconds limit) override {
    idleLimit = limit;
    ++setIdleLimitCalls;
  }

  bool idleTimeKnown() const override { return knowsIdleTime; }

  // The display stayed still for the limit; nothing happens while the limit is off.
  void stayIdle() {
    if (idleLimit > std::chrono::seconds{0}) emit idleLimitReached();
  }
  void lockScreenOrSleep() { emit screenLockedOrAsleep(); }

  std::chrono::seconds idleLimit{0};
  int setIdleLimitCalls = 0;
  bool knowsIdleTime = true;
};

}  // namespace fakes
