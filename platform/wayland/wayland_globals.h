#pragma once
// The globals a backend needs from a compositor: its seat and one manager of a protocol.
#include <cstdint>

struct wl_display;
struct wl_interface;
struct wl_seat;

namespace platform::wayland {

struct SeatAndManager {
  wl_seat* seat = nullptr;
  void* manager = nullptr;  // a proxy of the interface asked for, at version 1
  bool answered = false;    // the compositor answered the roundtrip
};

// Binds the first seat and the first global of the manager's interface, after one roundtrip;
// what the compositor does not offer stays null.
SeatAndManager BindSeatAndManager(wl_display* display, const wl_interface& manager);

}  // namespace platform::wayland
