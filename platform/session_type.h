#pragma once
// Whether the desktop session is a Wayland one: there a program's grabbed keys and synthetic keys
// reach only the windows of programs that run under XWayland.
namespace platform {

// XDG_SESSION_TYPE says so, or a Wayland display is named.
bool IsWaylandSession();

}  // namespace platform
