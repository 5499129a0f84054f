#include "platform/wayland/wayland_globals.h"

#include <QtGlobal>
#include <cstring>

#include <wayland-client.h>

namespace platform::wayland {
namespace {

struct Wanted {
  const wl_interface& manager;
  wl_seat* seat = nullptr;
  void* found = nullptr;
};

void Announced(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
  auto* wanted = static_cast<Wanted*>(data);
  if (!wanted->seat && std::strcmp(interface, wl_seat_interface.name) == 0) {
    wanted->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  } else if (!wanted->found && std::strcmp(interface, wanted->manager.name) == 0) {
    wanted->found = wl_registry_bind(registry, name, &wanted->manager, 1);
  }
}

void Removed(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistryListener{Announced, Removed};

}  // namespace

std::optional<CompositorConnection> ConnectWithSeatAndManager(const wl_interface& manager) {
  if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return std::nullopt;
  wl_display* display = wl_display_connect(nullptr);
  if (!display) return std::nullopt;
  Wanted wanted{manager};
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistryListener, &wanted);
  const bool answered = wl_display_roundtrip(display) >= 0;
  wl_registry_destroy(registry);
  const CompositorConnection connection{display, wanted.seat, wanted.found};
  if (answered && connection.seat && connection.manager) return connection;
  Disconnect(connection);
  return std::nullopt;
}

// The connection ends right after: the compositor lets go of what it held, so the proxies need
// no request of their own.
void Disconnect(const CompositorConnection& connection) {
  if (connection.seat) wl_proxy_destroy(reinterpret_cast<wl_proxy*>(connection.seat));
  if (connection.manager) wl_proxy_destroy(static_cast<wl_proxy*>(connection.manager));
  wl_display_disconnect(connection.display);
}

bool ReadEventsWithoutWaiting(wl_display* display) {
  // The socket is read only once the events read before are handled.
  bool connected = true;
  while (connected && wl_display_prepare_read(display) != 0) connected = wl_display_dispatch_pending(display) >= 0;
  return connected && wl_display_read_events(display) >= 0 && wl_display_dispatch_pending(display) >= 0;
}

}  // namespace platform::wayland
