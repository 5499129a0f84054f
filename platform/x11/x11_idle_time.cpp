#include "platform/x11/x11_idle_time.h"

#include <QGuiApplication>

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace platform::x11 {

std::optional<std::chrono::milliseconds> DisplayIdleTime() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  if (!display) return std::nullopt;
  int eventBase = 0;
  int errorBase = 0;
  if (!XScreenSaverQueryExtension(display, &eventBase, &errorBase)) return std::nullopt;
  XScreenSaverInfo* info = XScreenSaverAllocInfo();
  if (!info) return std::nullopt;
  std::optional<std::chrono::milliseconds> idle;
  if (XScreenSaverQueryInfo(display, DefaultRootWindow(display), info)) idle = std::chrono::milliseconds{info->idle};
  XFree(info);
  return idle;
}

}  // namespace platform::x11
