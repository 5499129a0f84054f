#pragma once
// Whether the desktop session is a Wayland one: there a program's grabbed keys and synthetic keys
// reach only the windows of programs that run under XWayland.
namespace platform {

// XDG_SESSION_TYPE says so, or a Wayland display is named.
bool IsWaylandSession();

// Puts the program's windows on X11 wherever an X display exists, XWayland included: the hot
// keys, the idle time and the taskbar button are X11's. A platform the user chose stands. Called
// before the application object is made.
void PreferX11Windows();

}  // namespace platform
