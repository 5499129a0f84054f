#pragma once
// A desktop that itself tells when its seat has had no input for a while, instead of being asked
// how long it has had none.
#include <QObject>
#include <chrono>

namespace platform {

class IdleWatch : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  ~IdleWatch() override = default;

  // idle() fires once the seat has had no keyboard or pointer input for this long, and again
  // only after new input and another such stretch; zero stops watching.
  virtual void watch(std::chrono::milliseconds limit) = 0;

 signals:
  void idle();
};

}  // namespace platform
