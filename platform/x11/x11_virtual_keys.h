#pragma once
// The X keysym of a Windows virtual-key code, for the named keys the program sends or grabs.
#include <cstdint>

namespace platform::x11 {

// 0 (NoSymbol) for a virtual key without a fixed keysym.
unsigned long KeysymForVirtualKey(std::uint8_t virtualKey);

}  // namespace platform::x11
