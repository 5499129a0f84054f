#include "cli/clip_hold.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <csignal>

#include "cli/interruption.h"
#include "input/clipboard.h"

namespace cli {

namespace {

constexpr int kPollMilliseconds = 100;

}  // namespace

void HoldOnClipboard(const QString& value, int seconds) {
  // Ctrl+C, a closed terminal and kill all end the wait the same way: with the clipboard emptied.
  CatchSignals({SIGINT, SIGTERM, SIGHUP});

  input::TClipboard& clipboard = input::SharedClipboard();
  clipboard.copySecret(value);
  QElapsedTimer held;
  held.start();
  QEventLoop loop;
  QTimer poll;
  bool owned = false;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    // Ownership may reach the server a moment after the copy: only a loss after it counts.
    const bool ownsNow = clipboard.ownsClipboard();
    const bool replaced = owned && !ownsNow;
    owned = owned || ownsNow;
    if (Interrupted() || replaced || held.elapsed() >= qint64{seconds} * 1000) loop.quit();
  });
  poll.start(kPollMilliseconds);
  loop.exec();
  clipboard.Clear();
  // The clearing reaches the X server only while the event loop runs once more.
  QCoreApplication::processEvents();
}

}  // namespace cli
