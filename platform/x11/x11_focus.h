#pragma once
// Which kind of window has the keyboard focus, as the X server sees it.
namespace platform::x11 {

// True while an X11 window has the input focus. Under XWayland the focus is no window while a
// native Wayland window has it; false as well when no X server answers.
bool X11WindowFocused();

}  // namespace platform::x11
