#include "widgets/click_notifier.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace widgets {

ClickNotifier::ClickNotifier(QWidget* watched) : QObject(watched) { watched->installEventFilter(this); }

bool ClickNotifier::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    auto* widget = static_cast<QWidget*>(watched);
    if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint())) emit clicked();
  } else if (event->type() == QEvent::MouseButtonDblClick) {
    emit doubleClicked();
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace widgets
