#pragma once
// The Wayland clipboard, set through the clipboard control of wlroots compositors and kwin on a
// connection of its own, whose requests are answered on Qt's event loop.
#include <QByteArray>
#include <memory>

#include "platform/clipboard_owner.h"

class QSocketNotifier;
struct wl_display;
struct wl_seat;
struct zwlr_data_control_manager_v1;
struct zwlr_data_control_device_v1;
struct zwlr_data_control_source_v1;

namespace platform::wayland {

class WaylandClipboard final : public ClipboardOwner {
 public:
  // nullptr without a Wayland display, or where its compositor offers no clipboard control
  // (GNOME's: there the windows' clipboard reaches native windows as it is).
  static std::unique_ptr<WaylandClipboard> open();
  // What it still holds goes with the connection.
  ~WaylandClipboard() override;
  WaylandClipboard(const WaylandClipboard&) = delete;
  WaylandClipboard& operator=(const WaylandClipboard&) = delete;

  void place(const QString& text, bool secret) override;
  void clearOwn() override;
  bool holdsOwn() const override { return source_ != nullptr; }

 private:
  struct Events;  // the protocol's callbacks
  friend struct Events;

  WaylandClipboard(wl_display* display, wl_seat* seat, zwlr_data_control_manager_v1* manager);
  // Reads and handles what the compositor sent, without waiting for more.
  void readEvents();
  void flush();
  // Lets go of our source and the text it offered.
  void forgetSource();
  // The seat or the connection went away: nothing is placed any more.
  void endDevice();

  wl_display* display_;
  wl_seat* seat_;
  zwlr_data_control_manager_v1* manager_;
  zwlr_data_control_device_v1* device_;            // null once the compositor ended it
  zwlr_data_control_source_v1* source_ = nullptr;  // the selection, while it is ours
  QByteArray text_;                                // UTF-8, as the source sends it
  bool secret_ = false;
  std::unique_ptr<QSocketNotifier> readable_;
  std::unique_ptr<QSocketNotifier> writable_;  // on only while the socket has no room for our requests
};

}  // namespace platform::wayland
