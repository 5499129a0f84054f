#include "platform/x11/x11_taskbar.h"

#include <QGuiApplication>
#include <QWidget>

// Xlib's macros clash with Qt's names, so it comes after every Qt header.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform::x11 {

namespace {

Display* x11Display() {
  auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->display() : nullptr;
}

// A mapped window asks the window manager; an unmapped one carries the state in its property,
// which the window manager reads when the window is mapped.
void setSkipTaskbar(QWidget& window, bool skip) {
  Display* display = x11Display();
  if (!display || !window.internalWinId()) return;
  Window xid = static_cast<Window>(window.winId());
  Atom state = XInternAtom(display, "_NET_WM_STATE", False);
  Atom skipTaskbar = XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False);
  if (window.isVisible()) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = xid;
    event.xclient.message_type = state;
    event.xclient.format = 32;
    event.xclient.data.l[0] = skip ? 1 : 0;  // _NET_WM_STATE_ADD / _REMOVE
    event.xclient.data.l[1] = static_cast<long>(skipTaskbar);
    event.xclient.data.l[3] = 1;  // source: a normal application
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
  } else if (skip) {
    XChangeProperty(display, xid, state, XA_ATOM, 32, PropModeAppend, reinterpret_cast<unsigned char*>(&skipTaskbar),
                    1);
  } else {
    XDeleteProperty(display, xid, state);
  }
  XFlush(display);
}

}  // namespace

void X11Taskbar::hideFromTaskbar(QWidget& window) { setSkipTaskbar(window, true); }

void X11Taskbar::showOnTaskbar(QWidget& window) { setSkipTaskbar(window, false); }

}  // namespace platform::x11
