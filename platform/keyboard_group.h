#pragma once
// The keyboard layout that the X server types with now: one group of its layout list.
#include <QString>
#include <functional>
#include <optional>

namespace platform {

struct KeyboardGroup {
  QString layout;   // as setxkbmap names it: "us", "de"
  QString variant;  // empty for the layout's basic variant
};

// nullopt when the keyboard cannot tell.
using KeyboardGroupReader = std::function<std::optional<KeyboardGroup>()>;

}  // namespace platform
