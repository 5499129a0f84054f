#pragma once
// The taskbar button on X11: the window manager's skip-taskbar state (_NET_WM_STATE_SKIP_TASKBAR).
// Without an X11 session it does nothing.
#include "platform/taskbar.h"

namespace platform::x11 {

class X11Taskbar final : public Taskbar {
 public:
  void hideFromTaskbar(QWidget& window) override;
  void showOnTaskbar(QWidget& window) override;
};

}  // namespace platform::x11
