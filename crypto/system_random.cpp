#include "crypto/system_random.h"

#include <sys/random.h>

#include <cerrno>
#include <cstddef>
#include <system_error>

namespace crypto {

void FillRandom(unsigned char* out, std::size_t size) {
  std::size_t filled = 0;
  while (filled < size) {
    const ssize_t got = getrandom(out + filled, size - filled, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw std::system_error(errno, std::generic_category(), "getrandom");
    }
    filled += static_cast<std::size_t>(got);
  }
}

namespace {

std::uint32_t RandomWord() {
  std::uint32_t word = 0;
  FillRandom(reinterpret_cast<unsigned char*>(&word), sizeof word);
  return word;
}

}  // namespace

std::uint32_t RandomBelow(std::uint32_t bound) {
  // Words at or above the last whole multiple of the bound would favour small numbers.
  constexpr std::uint64_t kWords = std::uint64_t{1} << 32;
  const std::uint64_t accepted = kWords - kWords % bound;
  for (;;) {
    const std::uint32_t word = RandomWord();
    if (word < accepted) return word % bound;
  }
}

}  // namespace crypto
