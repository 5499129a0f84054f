#include "widgets/password_key_filter.h"

#include <QKeyEvent>

#include "platform/beeper.h"

namespace widgets {

PasswordKeyFilter::PasswordKeyFilter(platform::Beeper& beeper, Alphabet alphabet, QObject* parent)
    : QObject(parent), beeper_(beeper), alphabet_(std::move(alphabet)) {}

bool PasswordKeyFilter::eventFilter(QObject* watched, QEvent* event) {
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
      if (!chord && text.size() == 1 && alphabet_(text.front().unicode())) return false;
      beeper_.beep();
      return true;
    }
    default:
      return QObject::eventFilter(watched, event);
  }
}

}  // namespace widgets
