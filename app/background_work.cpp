#include "app/background_work.h"

#include <exception>

namespace app {

BackgroundWork::~BackgroundWork() {
  if (worker_.joinable()) worker_.join();
}

void BackgroundWork::start(const QString& status, std::function<void()> work,
                           std::function<void(const QString& error)> done) {
  if (isRunning()) return;
  done_ = std::move(done);
  error_.clear();
  emit started(status);
  worker_ = std::thread([this, work = std::move(work)] {
    try {
      work();
    } catch (const std::exception& error) {
      error_ = QString::fromUtf8(error.what());
    }
    QMetaObject::invokeMethod(this, &BackgroundWork::complete, Qt::QueuedConnection);
  });
}

void BackgroundWork::finish() { complete(); }

void BackgroundWork::complete() {
  // finish() may have come first; its posted call then finds nothing to do.
  if (!worker_.joinable()) return;
  worker_.join();
  const auto done = std::move(done_);
  done_ = nullptr;
  emit ended();
  done(error_);
}

}  // namespace app
