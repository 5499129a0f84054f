#pragma once
// Screen lockers and logind on D-Bus: ActiveChanged(true) of the screen saver interfaces on the
// session bus, from any sender (a forged one can only lock), and on the system bus logind's Lock
// of our own session and PrepareForSleep(true). Without a bus or a service nothing arrives.
#include <QObject>

namespace platform::dbus {

class ScreenLockWatcher final : public QObject {
  Q_OBJECT
 public:
  explicit ScreenLockWatcher(QObject* parent = nullptr);

 signals:
  void locked();

 private slots:
  void onActiveChanged(bool active);
  void onPrepareForSleep(bool sleeping);
  void onSessionLock();

 private:
  void watchOurSession();
};

}  // namespace platform::dbus
