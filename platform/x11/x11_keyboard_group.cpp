#include "platform/x11/x11_keyboard_group.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QList>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform::x11 {

std::optional<KeyboardGroup> CurrentKeyboardGroup() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  if (!display) return std::nullopt;
  XkbStateRec state{};
  if (XkbGetState(display, XkbUseCoreKbd, &state) != Success) return std::nullopt;
  // The rules, model, layouts, variants and options the keyboard was set up with, NUL-separated.
  const Atom names = XInternAtom(display, "_XKB_RULES_NAMES", True);
  if (names == None) return std::nullopt;
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, DefaultRootWindow(display), names, 0, 1024, False, XA_STRING, &type, &format, &count,
                         &remaining, &data) != Success)
    return std::nullopt;
  const QByteArray value(reinterpret_cast<const char*>(data), static_cast<qsizetype>(count));
  if (data) XFree(data);
  const QList<QByteArray> fields = value.split('\0');
  if (format != 8 || fields.size() < 4) return std::nullopt;
  const qsizetype group = state.group;
  const QList<QByteArray> layouts = fields[2].split(',');
  const QList<QByteArray> variants = fields[3].split(',');
  if (group >= layouts.size() || layouts[group].isEmpty()) return std::nullopt;
  return KeyboardGroup{QString::fromLatin1(layouts[group]), QString::fromLatin1(variants.value(group))};
}

}  // namespace platform::x11
