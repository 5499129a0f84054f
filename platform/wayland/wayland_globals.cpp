#include "platform/wayland/wayland_globals.h"

#include <cstring>

#include <wayland-client.h>

namespace platform::wayland {
namespace {

struct Wanted {
  const wl_interface& manager;
  SeatAndManager found;
};

void Announced(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
  auto* wanted = static_cast<Wanted*>(data);
  if (!wanted->found.seat && std::strcmp(interface, wl_seat_interface.name) == 0) {
    wanted->found.seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  } else if (!wanted->found.manager && std::strcmp(interface, wanted->manager.name) == 0) {
    wanted->found.manager = wl_registry_bind(registry, name, &wanted->manager, 1);
  }
}

void Removed(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistryListener{Announced, Removed};

}  // namespace

SeatAndManager BindSeatAndManager(wl_display* display, const wl_interface& manager) {
  Wanted wanted{manager, {}};
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistryListener, &wanted);
  wanted.found.answered = wl_display_roundtrip(display) >= 0;
  wl_registry_destroy(registry);
  return wanted.found;
}

}  // namespace platform::wayland
