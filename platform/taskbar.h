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

}  // namespace platform
