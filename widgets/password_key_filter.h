#pragma once
// Lets only Backspace and the characters of a password's alphabet be typed into a password box;
// every other character, control characters included (so Ctrl+V does not paste), is dropped with
// a beep. Tab and Shift+Tab still move the focus.
#include <QObject>
#include <functional>

namespace platform {
class Beeper;
}

namespace widgets {

class PasswordKeyFilter : public QObject {
  Q_OBJECT
 public:
  using Alphabet = std::function<bool(char32_t)>;
  PasswordKeyFilter(platform::Beeper& beeper, Alphabet alphabet, QObject* parent);

  // Runs for Enter instead of the beep, while it returns true.
  void setEnterHandler(std::function<bool()> handler) { enterHandler_ = std::move(handler); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  platform::Beeper& beeper_;
  Alphabet alphabet_;
  std::function<bool()> enterHandler_;
};

}  // namespace widgets
