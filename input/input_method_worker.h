#pragma once
// The input method's questions on a thread of their own: a framework that is slow to answer (IBus
// starting an engine, a hung daemon) must not hold up the windows. The answers come back on the
// thread that asked, in the order asked.
#include <QObject>
#include <QThread>
#include <functional>

#include "platform/input_method.h"

namespace input {

class InputMethodWorker : public QObject {
  Q_OBJECT
 public:
  // inputMethod is used only from the worker's thread from now on.
  explicit InputMethodWorker(platform::InputMethod& inputMethod, QObject* parent = nullptr);
  ~InputMethodWorker() override;
  InputMethodWorker(const InputMethodWorker&) = delete;
  InputMethodWorker& operator=(const InputMethodWorker&) = delete;

  void state(std::function<void(platform::InputMethodState)> answered);
  void switchToDirectInput(std::function<void(bool switched)> answered);
  void switchBack(std::function<void(bool switched)> answered);
  // No question is waiting for its answer.
  bool idle() const { return unanswered_ == 0; }

 private:
  template <typename Answer>
  void ask(std::function<Answer(platform::InputMethod&)> question, std::function<void(Answer)> answered);

  platform::InputMethod& inputMethod_;
  QThread thread_;
  QObject* inThread_;  // lives on thread_, where the questions run
  int unanswered_ = 0;
};

}  // namespace input
