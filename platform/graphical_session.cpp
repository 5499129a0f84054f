#include "platform/graphical_session.h"

#include <QtGlobal>

#include "platform/x11/x11_display.h"

namespace platform {

bool HasGraphicalSession() {
  if (!qEnvironmentVariableIsEmpty("DISPLAY")) return x11::DisplayAnswers();
  return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

}  // namespace platform
