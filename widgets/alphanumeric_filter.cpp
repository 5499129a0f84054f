#include "widgets/alphanumeric_filter.h"

#include <QKeyEvent>

#include "platform/beeper.h"

AlphanumericKeyFilter::AlphanumericKeyFilter(platform::Beeper& beeper, QObject* parent)
    : QObject(parent), beeper_(beeper) {}

bool AlphanumericKeyFilter::IsAllowedCharacter(QChar c) {
  ushort u = c.unicode();
  return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

bool AlphanumericKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::InputMethod:
      // Text composed by an input method never passes.
      beeper_.beep();
      return true;
    case QEvent::ShortcutOverride: {
      // Paste, cut and the like would bypass the character check.
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) {
        event->accept();
        return false;
      }
      return false;
    }
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Backspace) return false;
      // Tab and Shift+Tab move the focus; they type nothing.
      const bool chord = key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier);
      if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && !chord) return false;
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (!(enterHandler_ && enterHandler_())) beeper_.beep();
        return true;
      }
      // Keys that type nothing (arrows, Home, Delete, Shift) move or edit as usual.
      const QString text = key->text();
      if (text.isEmpty() && !chord) return false;
      if (!chord && text.size() == 1 && IsAllowedCharacter(text.front())) return false;
      beeper_.beep();
      return true;
    }
    default:
      return QObject::eventFilter(watched, event);
  }
}
