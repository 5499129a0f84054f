#pragma once
// Uniform random numbers from the operating system's cryptographic generator (getrandom).
#include <cstdint>

namespace crypto {

// Uniform over 0..bound-1 (bound > 0), without the bias of a plain remainder.
std::uint32_t RandomBelow(std::uint32_t bound);

}  // namespace crypto
