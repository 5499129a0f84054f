#include "platform/desktop_lock_signals.h"

#include <QtGlobal>

#include "platform/dbus/dbus_screen_lock_watcher.h"
#include "platform/x11/x11_idle_time.h"

namespace platform {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// While the limit stays reached, how soon input is noticed again.
constexpr milliseconds kRecheck{1000};

milliseconds LimitOrTestOverride(seconds limit) {
  bool ok = false;
  const int testSeconds = qEnvironmentVariableIntValue("KEYHAVEN_TEST_IDLE_LIMIT_SECONDS", &ok);
  return ok && testSeconds > 0 && limit > seconds{0} ? seconds{testSeconds} : limit;
}

}  // namespace

DesktopLockSignals::DesktopLockSignals(IdleWatch* compositorIdle, QObject* parent)
    : DesktopLockSignals(&x11::DisplayIdleTime, parent) {
  compositorIdle_ = compositorIdle;
  if (compositorIdle_) connect(compositorIdle_, &IdleWatch::idle, this, &LockSignals::idleLimitReached);
}

DesktopLockSignals::DesktopLockSignals(IdleTime idleTime, QObject* parent)
    : LockSignals(parent), idleTime_(std::move(idleTime)) {
  idleCheck_.setSingleShot(true);
  connect(&idleCheck_, &QTimer::timeout, this, &DesktopLockSignals::checkIdle);
  auto* watcher = new dbus::ScreenLockWatcher(this);
  connect(watcher, &dbus::ScreenLockWatcher::locked, this, &LockSignals::screenLockedOrAsleep);
}

void DesktopLockSignals::setIdleLimit(seconds limit) {
  limit_ = LimitOrTestOverride(limit);
  reached_ = false;
  if (compositorIdle_) {
    compositorIdle_->watch(limit_);
    return;
  }
  if (limit_ > milliseconds{0})
    idleCheck_.start(milliseconds{0});
  else
    idleCheck_.stop();
}

void DesktopLockSignals::checkIdle() {
  const std::optional<milliseconds> idle = idleTime_();
  if (!idle) return;  // no X11 session: nothing to watch
  if (*idle < limit_) {
    reached_ = false;
    idleCheck_.start(limit_ - *idle);  // the earliest moment the limit can be reached
    return;
  }
  if (!reached_) {
    reached_ = true;
    emit idleLimitReached();
  }
  idleCheck_.start(kRecheck);
}

}  // namespace platform
