#include "platform/x11/x11_virtual_keys.h"

#include <X11/X.h>
#include <X11/keysym.h>

namespace platform::x11 {

unsigned long KeysymForVirtualKey(std::uint8_t vk) {
  if (vk >= 'A' && vk <= 'Z') return XK_a + static_cast<unsigned long>(vk - 'A');
  if (vk >= '0' && vk <= '9') return XK_0 + static_cast<unsigned long>(vk - '0');
  if (vk >= 112 && vk <= 127) return XK_F1 + static_cast<unsigned long>(vk - 112);  // F1 to F16
  switch (vk) {
    case 3:
      return XK_Break;
    case 8:
      return XK_BackSpace;
    case 9:
      return XK_Tab;
    case 12:
      return XK_Clear;
    case 13:
      return XK_Return;
    case 16:
      return XK_Shift_L;
    case 17:
      return XK_Control_L;
    case 18:
      return XK_Alt_L;
    case 19:
      return XK_Pause;
    case 20:
      return XK_Caps_Lock;
    case 27:
      return XK_Escape;
    case 32:
      return XK_space;
    case 33:
      return XK_Prior;
    case 34:
      return XK_Next;
    case 35:
      return XK_End;
    case 36:
      return XK_Home;
    case 37:
      return XK_Left;
    case 38:
      return XK_Up;
    case 39:
      return XK_Right;
    case 40:
      return XK_Down;
    case 42:
      return XK_Print;
    case 45:
      return XK_Insert;
    case 46:
      return XK_Delete;
    case 47:
      return XK_Help;
    case 144:
      return XK_Num_Lock;
    case 145:
      return XK_Scroll_Lock;
    default:
      return NoSymbol;
  }
}

}  // namespace platform::x11
