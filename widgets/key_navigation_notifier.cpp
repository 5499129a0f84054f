#include "widgets/key_navigation_notifier.h"

#include <QKeyEvent>
#include <QWidget>

namespace widgets {

KeyNavigationNotifier::KeyNavigationNotifier(QWidget* watched) : QObject(watched) { watched->installEventFilter(this); }

bool KeyNavigationNotifier::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease) {
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_Home:
      case Qt::Key_End:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
        if (!key->isAutoRepeat()) emit navigated();
        break;
      default:
        break;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace widgets
