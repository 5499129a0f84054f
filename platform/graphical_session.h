#pragma once
// Whether a graphical session is there, asked before Qt's graphical application is made: Qt ends
// the process outright when it cannot reach the display.
namespace platform {

// An X server answers at DISPLAY, or else a Wayland display is named.
bool HasGraphicalSession();

}  // namespace platform
