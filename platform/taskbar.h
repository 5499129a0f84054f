#pragma once
// Takes the program's taskbar button away and brings it back.
class QWidget;

namespace platform {

class Taskbar {
 public:
  virtual ~Taskbar() = default;
  virtual void hideFromTaskbar(QWidget& window) = 0;
  virtual void showOnTaskbar(QWidget& window) = 0;
};

// The window manager's skip-taskbar state (_NET_WM_STATE_SKIP_TASKBAR) on X11; nothing elsewhere.
class WindowManagerTaskbar final : public Taskbar {
 public:
  void hideFromTaskbar(QWidget& window) override;
  void showOnTaskbar(QWidget& window) override;
};

}  // namespace platform
