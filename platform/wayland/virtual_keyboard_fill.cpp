#include "platform/wayland/virtual_keyboard_fill.h"

namespace platform::wayland {

void VirtualKeyboardFill::startFill(std::function<void(FillReadiness)> ready) {
  keyboard_ = WaylandVirtualKeyboard::open();
  // Its keymap holds whatever the fill types; but these desktops pass XWayland's clipboard to no
  // native window, so without the program's own Wayland copy a paste would bring whatever the
  // clipboard held before.
  if (!keyboard_)
    ready(FillReadiness::kUnavailable);
  else
    ready(pastes_ ? FillReadiness::kReady : FillReadiness::kTypingOnly);
}

}  // namespace platform::wayland
