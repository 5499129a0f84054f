#pragma once
// A fill asked by one of the desktop's global shortcuts: it obeys the armed state as the hot key
// does, and nothing is typed before the user lets go of the shortcut, since the keys still held
// would turn the typed letters into shortcuts. One fill at a time.
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>

#include "input/hot_key_arming.h"
#include "platform/global_shortcuts.h"

namespace input {

class ShortcutFill : public QObject {
  Q_OBJECT
 public:
  // A shortcut still held after releaseLimit types nothing.
  ShortcutFill(platform::GlobalShortcuts& shortcuts, const HotKeyArming& arming, std::chrono::milliseconds releaseLimit,
               QObject* parent = nullptr);

  // A lock: the fill waiting for a release is dropped.
  void cancel();

 signals:
  // Pressed while disarmed (or disarmed before the release): nothing is typed.
  void disarmed();
  // The shortcut is up: the fill types now.
  void released(const QString& id);
  void heldTooLong();

 private:
  void pressed(const QString& id);
  void letGo(const QString& id);

  const HotKeyArming& arming_;
  QTimer limit_;
  QString pending_;  // the shortcut whose release is awaited
};

}  // namespace input
