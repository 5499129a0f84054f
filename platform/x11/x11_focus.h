#pragma once
// Whether a window of an X client has the input focus. Under XWayland it has while an XWayland
// window is focused; while a native Wayland window is, the X focus is nowhere, or on an unmanaged
// window of the desktop's own (mutter and KWin park it there), so keys must go another way.
#include <memory>

struct xcb_connection_t;

namespace platform::x11 {

class X11Focus {
 public:
  // A connection of its own; nullptr when no X server answers.
  static std::unique_ptr<X11Focus> open();
  ~X11Focus();
  X11Focus(const X11Focus&) = delete;
  X11Focus& operator=(const X11Focus&) = delete;

  bool clientWindowFocused();

 private:
  explicit X11Focus(xcb_connection_t* connection) : connection_(connection) {}
  xcb_connection_t* connection_;
};

}  // namespace platform::x11
