#pragma once
// A program outside a sandbox tells the portals its application id, so that they name it in their
// dialogs and keep its shortcuts and permissions under that id. It has to come before any other
// portal call on the connection; a portal too old to know the call ignores it.
#include <QString>

namespace platform::dbus {

// Sent without waiting for the answer: the session bus keeps the order of one sender's calls.
void RegisterWithPortals(const QString& applicationId);

}  // namespace platform::dbus
