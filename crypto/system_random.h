#pragma once
// Uniform random numbers from the operating system's cryptographic generator (getrandom).
#include <cstddef>
#include <cstdint>

namespace crypto {

// Fills `size` bytes at `out` from the generator.
void FillRandom(unsigned char* out, std::size_t size);

// Uniform over 0..bound-1 (bound > 0), without the bias of a plain remainder.
std::uint32_t RandomBelow(std::uint32_t bound);

}  // namespace crypto
