#pragma once
// What the desktop portals share: their service and object, the Request object through which
// each call answers, and the Session object that a CreateSession opens.
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QString>
#include <QVariant>

namespace platform::dbus {

inline const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
inline const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
inline const QString kPortalRequest = QStringLiteral("org.freedesktop.portal.Request");
inline const QString kPortalSession = QStringLiteral("org.freedesktop.portal.Session");

// The portal answers a call at the path made of our unique name and the token we chose.
inline QString PortalRequestPath(const QDBusConnection& bus, const QString& token) {
  QString sender = bus.baseService().mid(1);
  sender.replace('.', '_');
  return kPortalPath + "/request/" + sender + "/" + token;
}

// A CreateSession's answer names the session as a string in the portal's first versions, as an
// object path in later ones.
inline QString PortalSessionHandle(const QVariant& handle) {
  return handle.userType() == qMetaTypeId<QDBusObjectPath>() ? handle.value<QDBusObjectPath>().path()
                                                             : handle.toString();
}

}  // namespace platform::dbus
