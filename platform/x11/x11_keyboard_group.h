#pragma once
// The current group of the X server's keyboard, named as the server was told its layouts.
#include <optional>

#include "platform/keyboard_group.h"

namespace platform::x11 {

// nullopt without an X11 session or when the server keeps no layout names.
std::optional<KeyboardGroup> CurrentKeyboardGroup();

}  // namespace platform::x11
