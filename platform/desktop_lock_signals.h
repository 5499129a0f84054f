#pragma once
// The lock signals of a desktop session: idle time from the compositor where it tells, else from
// the X server; screen lockers and logind from D-Bus. Without either, a bus or a service, that
// signal never comes.
//
// For tests only: KEYHAVEN_TEST_IDLE_LIMIT_SECONDS=<n> replaces every idle limit that is not
// zero with n seconds, so a test need not stay still for minutes.
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>

#include "platform/idle_watch.h"
#include "platform/lock_signals.h"

namespace platform {

class DesktopLockSignals final : public LockSignals {
  Q_OBJECT
 public:
  using IdleTime = std::function<std::optional<std::chrono::milliseconds>()>;

  // idleTime reports how long the display has had no input; nullopt when it cannot tell.
  // compositorIdle, where given, replaces the X server's idle time: XWayland sees no input that
  // goes to native Wayland windows.
  explicit DesktopLockSignals(IdleWatch* compositorIdle = nullptr, QObject* parent = nullptr);
  DesktopLockSignals(IdleTime idleTime, QObject* parent);

  void setIdleLimit(std::chrono::seconds limit) override;
  bool idleTimeKnown() const override { return compositorIdle_ || idleTime_().has_value(); }

 private:
  void checkIdle();

  IdleTime idleTime_;
  IdleWatch* compositorIdle_ = nullptr;
  QTimer idleCheck_;
  std::chrono::milliseconds limit_{0};
  bool reached_ = false;  // fired for the current stretch without input
};

}  // namespace platform
