#include "platform/dbus/dbus_screen_lock_watcher.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace platform::dbus {
namespace {

struct ScreenSaver {
  const char* interface;
  const char* path;
};

// KDE, Xfce and others on the freedesktop name (at two paths), GNOME on its own.
constexpr ScreenSaver kScreenSavers[] = {
    {"org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver"},
    {"org.freedesktop.ScreenSaver", "/ScreenSaver"},
    {"org.gnome.ScreenSaver", "/org/gnome/ScreenSaver"},
};

constexpr char kLogin[] = "org.freedesktop.login1";
constexpr char kLoginPath[] = "/org/freedesktop/login1";
constexpr char kLoginManager[] = "org.freedesktop.login1.Manager";

}  // namespace

ScreenLockWatcher::ScreenLockWatcher(QObject* parent) : QObject(parent) {
  QDBusConnection session = QDBusConnection::sessionBus();
  if (session.isConnected())
    for (const ScreenSaver& saver : kScreenSavers)
      session.connect(QString(), saver.path, saver.interface, "ActiveChanged", this, SLOT(onActiveChanged(bool)));
  QDBusConnection system = QDBusConnection::systemBus();
  if (!system.isConnected()) return;
  system.connect(kLogin, kLoginPath, kLoginManager, "PrepareForSleep", this, SLOT(onPrepareForSleep(bool)));
  watchOurSession();
}

// Asked without waiting, so a slow or missing logind never holds up the start.
void ScreenLockWatcher::watchOurSession() {
  QDBusMessage call = QDBusMessage::createMethodCall(kLogin, kLoginPath, kLoginManager, "GetSessionByPID");
  call << static_cast<quint32>(QCoreApplication::applicationPid());
  auto* pending = new QDBusPendingCallWatcher(QDBusConnection::systemBus().asyncCall(call), this);
  connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
    finished->deleteLater();
    const QDBusPendingReply<QDBusObjectPath> reply = *finished;
    if (reply.isError()) return;  // not in a login session: there is no session lock to hear
    QDBusConnection::systemBus().connect(kLogin, reply.value().path(), "org.freedesktop.login1.Session", "Lock", this,
                                         SLOT(onSessionLock()));
  });
}

void ScreenLockWatcher::onActiveChanged(bool active) {
  if (active) emit locked();
}

void ScreenLockWatcher::onPrepareForSleep(bool sleeping) {
  if (sleeping) emit locked();
}

void ScreenLockWatcher::onSessionLock() { emit locked(); }

}  // namespace platform::dbus
