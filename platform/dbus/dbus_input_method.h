#pragma once
// The input-method frameworks that can be asked over D-Bus: fcitx5, and fcitx 4 on the session bus
// or on its own, else IBus on its own bus. Any other input-method server that XMODIFIERS names
// counts as one we cannot switch.
#include <memory>

#include "platform/input_method.h"
#include "platform/keyboard_group.h"

namespace platform::dbus {

// Asks the frameworks anew at every state(): they come and go while the program runs. The
// keyboard's current group picks IBus's keyboard engine where gnome-shell does not.
std::unique_ptr<InputMethod> OpenInputMethod(KeyboardGroupReader currentGroup = {});

}  // namespace platform::dbus
