#pragma once
// The compositor's own idle notice (kwin and wlroots compositors such as sway), on a connection of
// its own whose events are read on Qt's event loop. It counts input to every window, native
// Wayland ones too, which XWayland never sees.
#include <memory>

#include "platform/idle_watch.h"

class QSocketNotifier;
struct wl_display;
struct wl_seat;
struct org_kde_kwin_idle;
struct org_kde_kwin_idle_timeout;

namespace platform::wayland {

class WaylandIdle final : public IdleWatch {
 public:
  // nullptr without a Wayland display, or where its compositor offers no idle notice (GNOME's).
  static std::unique_ptr<WaylandIdle> open();
  ~WaylandIdle() override;
  WaylandIdle(const WaylandIdle&) = delete;
  WaylandIdle& operator=(const WaylandIdle&) = delete;

  void watch(std::chrono::milliseconds limit) override;

 private:
  struct Events;  // the protocol's callbacks
  friend struct Events;

  WaylandIdle(wl_display* display, wl_seat* seat, org_kde_kwin_idle* manager);
  // Reads and handles what the compositor sent, without waiting for more.
  void readEvents();
  void endTimeout();

  wl_display* display_;
  wl_seat* seat_;
  org_kde_kwin_idle* manager_;
  org_kde_kwin_idle_timeout* timeout_ = nullptr;  // while watching
  std::unique_ptr<QSocketNotifier> readable_;
};

}  // namespace platform::wayland
