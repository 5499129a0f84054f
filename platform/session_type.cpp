#include "platform/session_type.h"

#include <QString>
#include <QtGlobal>

namespace platform {

bool IsWaylandSession() {
  return qEnvironmentVariable("XDG_SESSION_TYPE") == "wayland" || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

}  // namespace platform
