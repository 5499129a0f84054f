#include "input/hot_key_arming.h"

namespace input {

HotKeyArming::HotKeyArming(QObject* parent) : QObject(parent) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &HotKeyArming::timeUp);
}

void HotKeyArming::setArmedTime(std::chrono::milliseconds time) {
  armedTime_ = time;
  if (armed_) restartTime();
}

void HotKeyArming::arm() {
  armed_ = true;
  ranOutDuringFill_ = false;
  restartTime();
}

void HotKeyArming::disarm() {
  armed_ = false;
  ranOutDuringFill_ = false;
  timer_.stop();
}

void HotKeyArming::fillEnded() {
  filling_ = false;
  if (!ranOutDuringFill_) return;
  ranOutDuringFill_ = false;
  timeUp();
}

void HotKeyArming::timeUp() {
  if (filling_) {
    ranOutDuringFill_ = true;
    return;
  }
  disarm();
  emit ranOut();
}

void HotKeyArming::restartTime() {
  if (armedTime_.count() > 0) {
    timer_.start(armedTime_);
  } else {
    timer_.stop();
  }
}

}  // namespace input
