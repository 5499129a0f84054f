#include "platform/dbus/portal_registration.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QVariantMap>

#include "platform/dbus/portal_request.h"

namespace platform::dbus {

void RegisterWithPortals(const QString& applicationId) {
  QDBusMessage call = QDBusMessage::createMethodCall(
      kPortalService, kPortalPath, QStringLiteral("org.freedesktop.host.portal.Registry"), QStringLiteral("Register"));
  call << applicationId << QVariantMap();
  QDBusConnection::sessionBus().asyncCall(call);
}

}  // namespace platform::dbus
