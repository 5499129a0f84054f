#pragma once
// Waiting, without blocking the program, until the user holds no key: keys sent meanwhile would
// combine with the user's own (Ctrl+Q instead of q).
#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

namespace platform {
class KeySink;
}

namespace input {

class KeyReleaseWait : public QObject {
  Q_OBJECT
 public:
  explicit KeyReleaseWait(platform::KeySink& sink, QObject* parent = nullptr);

  // Calls done(true) once every key is up, at once when none is held; done(false) when a key is
  // still held after limit. A new wait replaces one underway, whose done is never called.
  void wait(std::function<void(bool allUp)> done, std::chrono::milliseconds limit = std::chrono::seconds(2));
  void cancel();

 private:
  void poll();

  platform::KeySink& sink_;
  QTimer poll_;
  std::chrono::steady_clock::time_point deadline_;
  std::function<void(bool)> done_;
};

}  // namespace input
