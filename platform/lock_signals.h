#pragma once
// What locks the program by itself: no input on the whole display for a chosen time, the
// screen locker coming on, the session being locked, the machine going to sleep.
#include <QObject>
#include <chrono>

namespace platform {

class LockSignals : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  ~LockSignals() override = default;

  // idleLimitReached() fires once the display has had no keyboard or pointer input for this
  // long, and again only after new input and another such stretch; zero turns it off.
  virtual void setIdleLimit(std::chrono::seconds limit) = 0;
  // Whether the desktop tells how long it has had no input: without it, no idle limit is reached.
  virtual bool idleTimeKnown() const = 0;

 signals:
  void idleLimitReached();
  void screenLockedOrAsleep();
};

}  // namespace platform
