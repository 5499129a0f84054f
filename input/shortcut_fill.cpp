#include "input/shortcut_fill.h"

namespace input {

ShortcutFill::ShortcutFill(platform::GlobalShortcuts& shortcuts, const HotKeyArming& arming,
                           std::chrono::milliseconds releaseLimit, QObject* parent)
    : QObject(parent), arming_(arming) {
  limit_.setSingleShot(true);
  limit_.setInterval(releaseLimit);
  connect(&shortcuts, &platform::GlobalShortcuts::activated, this, &ShortcutFill::pressed);
  connect(&shortcuts, &platform::GlobalShortcuts::deactivated, this, &ShortcutFill::letGo);
  connect(&limit_, &QTimer::timeout, this, [this] {
    pending_.clear();
    emit heldTooLong();
  });
}

void ShortcutFill::cancel() {
  pending_.clear();
  limit_.stop();
}

void ShortcutFill::pressed(const QString& id) {
  if (!pending_.isEmpty()) return;  // one fill at a time
  if (!arming_.armed()) {
    emit disarmed();
    return;
  }
  pending_ = id;
  limit_.start();
}

void ShortcutFill::letGo(const QString& id) {
  if (id != pending_) return;
  cancel();
  // The armed time may have run out while the key was held.
  if (!arming_.armed()) {
    emit disarmed();
    return;
  }
  emit released(id);
}

}  // namespace input
