#pragma once
// How long the whole X display has had no keyboard or pointer input, real or synthetic, from
// the server's screensaver extension.
#include <chrono>
#include <optional>

namespace platform::x11 {

// nullopt without an X11 session or without the extension.
std::optional<std::chrono::milliseconds> DisplayIdleTime();

}  // namespace platform::x11
