#include "platform/session_type.h"

#include <QString>
#include <QtGlobal>

namespace platform {

bool IsWaylandSession() {
  return qEnvironmentVariable("XDG_SESSION_TYPE") == "wayland" || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void PreferX11Windows() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "xcb");
}

}  // namespace platform
