#include "input/input_method_worker.h"

#include <utility>

namespace input {

InputMethodWorker::InputMethodWorker(platform::InputMethod& inputMethod, QObject* parent)
    : QObject(parent), inputMethod_(inputMethod), inThread_(new QObject) {
  inThread_->moveToThread(&thread_);
  connect(&thread_, &QThread::finished, inThread_, &QObject::deleteLater);
  thread_.start();
}

// A question still running is answered to no one.
InputMethodWorker::~InputMethodWorker() {
  thread_.quit();
  thread_.wait();
}

template <typename Answer>
void InputMethodWorker::ask(std::function<Answer(platform::InputMethod&)> question,
                            std::function<void(Answer)> answered) {
  // The destructor waits for a running question, so this outlives it; an answer posted to a
  // worker destroyed meanwhile is dropped by Qt.
  ++unanswered_;
  QMetaObject::invokeMethod(inThread_, [this, question = std::move(question), answered = std::move(answered)] {
    Answer answer = question(inputMethod_);
    QMetaObject::invokeMethod(
        this,
        [this, answered, answer] {
          --unanswered_;
          answered(answer);
        },
        Qt::QueuedConnection);
  });
}

void InputMethodWorker::state(std::function<void(platform::InputMethodState)> answered) {
  ask<platform::InputMethodState>([](platform::InputMethod& method) { return method.state(); }, std::move(answered));
}

void InputMethodWorker::switchToDirectInput(std::function<void(bool switched)> answered) {
  ask<bool>([](platform::InputMethod& method) { return method.switchToDirectInput(); }, std::move(answered));
}

void InputMethodWorker::switchBack(std::function<void(bool switched)> answered) {
  ask<bool>([](platform::InputMethod& method) { return method.switchBack(); }, std::move(answered));
}

}  // namespace input
