#pragma once
// The connection a backend needs to a compositor: its own display connection, the seat and one
// manager of a protocol.
#include <optional>

struct wl_display;
struct wl_interface;
struct wl_seat;

namespace platform::wayland {

struct CompositorConnection {
  wl_display* display;
  wl_seat* seat;
  void* manager;  // a proxy of the interface asked for, at version 1
};

// Connects to $WAYLAND_DISPLAY (never to the default socket's guess) and binds the first seat and
// the first global of the manager's interface after one roundtrip; nothing, and nothing left open,
// where the compositor does not answer or offers either not.
std::optional<CompositorConnection> ConnectWithSeatAndManager(const wl_interface& manager);

// Lets go of the seat and the manager and ends the connection.
void Disconnect(const CompositorConnection& connection);

// Reads what the compositor sent and handles it, without waiting for more (the socket's notifier
// says when more has come); false once the connection is broken.
bool ReadEventsWithoutWaiting(wl_display* display);

}  // namespace platform::wayland
