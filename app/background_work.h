#pragma once
// Slow file work (a key derivation, a file's rewrite) on a worker thread, one at a time, so that the
// windows keep painting; what follows it runs back on the windows' thread.
#include <QObject>
#include <QString>
#include <functional>
#include <thread>

namespace app {

class BackgroundWork : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  ~BackgroundWork() override;

  bool isRunning() const { return worker_.joinable(); }
  // Runs work on the worker, then done on this thread with the text of what the work threw (empty
  // when nothing). status says what runs, for the windows. Ignored while a work runs.
  void start(const QString& status, std::function<void()> work, std::function<void(const QString& error)> done);
  // Waits for a running work and runs its done: the program is about to end.
  void finish();

 signals:
  void started(const QString& status);
  void ended();

 private:
  void complete();

  std::thread worker_;
  std::function<void(const QString&)> done_;
  // Written by the worker before it posts complete(), read after the join.
  QString error_;
};

}  // namespace app
