#include "platform/x11/x11_focus.h"

#include <X11/Xlib.h>

namespace platform::x11 {

bool X11WindowFocused() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  Window focus = None;
  int revertTo = 0;
  XGetInputFocus(display, &focus, &revertTo);
  XCloseDisplay(display);
  return focus != None && focus != PointerRoot;
}

}  // namespace platform::x11
