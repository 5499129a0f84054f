#include "widgets/wheel_interceptor.h"

#include <QWheelEvent>
#include <QWidget>

namespace widgets {

WheelInterceptor::WheelInterceptor(QWidget* watched) : QObject(watched) { watched->installEventFilter(this); }

bool WheelInterceptor::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Wheel) return QObject::eventFilter(watched, event);
  auto* wheel = static_cast<QWheelEvent*>(event);
  int delta = wheel->angleDelta().y();
  if (delta == 0) delta = wheel->pixelDelta().y();
  if (delta != 0) emit wheeled(delta);
  return true;
}

}  // namespace widgets
