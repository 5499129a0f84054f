#include "platform/wayland/wayland_idle.h"

#include <QSocketNotifier>
#include <algorithm>
#include <limits>

#include <wayland-client.h>

#include "kde-idle-client-protocol.h"
#include "platform/wayland/wayland_globals.h"

namespace platform::wayland {

struct WaylandIdle::Events {
  static void idle(void* data, org_kde_kwin_idle_timeout*) { emit static_cast<WaylandIdle*>(data)->idle(); }
  // The next idle event comes only after input and another stretch without: nothing to do here.
  static void resumed(void*, org_kde_kwin_idle_timeout*) {}

  static const org_kde_kwin_idle_timeout_listener kTimeout;
};

const org_kde_kwin_idle_timeout_listener WaylandIdle::Events::kTimeout{idle, resumed};

std::unique_ptr<WaylandIdle> WaylandIdle::open() {
  const std::optional<CompositorConnection> compositor = ConnectWithSeatAndManager(org_kde_kwin_idle_interface);
  if (!compositor) return nullptr;
  return std::unique_ptr<WaylandIdle>(
      new WaylandIdle(compositor->display, compositor->seat, static_cast<org_kde_kwin_idle*>(compositor->manager)));
}

WaylandIdle::WaylandIdle(wl_display* display, wl_seat* seat, org_kde_kwin_idle* manager)
    : display_(display),
      seat_(seat),
      manager_(manager),
      readable_(std::make_unique<QSocketNotifier>(wl_display_get_fd(display), QSocketNotifier::Read)) {
  connect(readable_.get(), &QSocketNotifier::activated, this, [this] { readEvents(); });
}

WaylandIdle::~WaylandIdle() {
  readable_.reset();
  endTimeout();
  org_kde_kwin_idle_destroy(manager_);
  wl_seat_destroy(seat_);
  wl_display_flush(display_);
  wl_display_disconnect(display_);
}

void WaylandIdle::watch(std::chrono::milliseconds limit) {
  // A new limit starts a new stretch: the compositor counts from the new timeout's making.
  endTimeout();
  if (limit > std::chrono::milliseconds{0}) {
    const auto ms = std::min<std::chrono::milliseconds::rep>(limit.count(), std::numeric_limits<std::uint32_t>::max());
    timeout_ = org_kde_kwin_idle_get_idle_timeout(manager_, seat_, static_cast<std::uint32_t>(ms));
    org_kde_kwin_idle_timeout_add_listener(timeout_, &Events::kTimeout, this);
  }
  wl_display_flush(display_);  // a few bytes: the socket has room for them
}

void WaylandIdle::readEvents() {
  if (!ReadEventsWithoutWaiting(display_)) {
    // The compositor went away: no idle notice comes any more.
    readable_->setEnabled(false);
    endTimeout();
  }
}

void WaylandIdle::endTimeout() {
  if (timeout_) org_kde_kwin_idle_timeout_release(timeout_);
  timeout_ = nullptr;
}

}  // namespace platform::wayland
