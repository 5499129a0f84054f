#pragma once
// Lets only Backspace, digits and ASCII letters be typed into a password box; every other
// character, control characters included (so Ctrl+V does not paste), is dropped with a beep.
// Tab and Shift+Tab still move the focus.
#include <QObject>
#include <functional>

namespace platform {
class Beeper;
}

class AlphanumericKeyFilter : public QObject {
  Q_OBJECT
 public:
  AlphanumericKeyFilter(platform::Beeper& beeper, QObject* parent);

  // Runs for Enter instead of the beep, while it returns true.
  void setEnterHandler(std::function<bool()> handler) { enterHandler_ = std::move(handler); }

  static bool IsAllowedCharacter(QChar c);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  platform::Beeper& beeper_;
  std::function<bool()> enterHandler_;
};
