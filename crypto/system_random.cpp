#include "crypto/system_random.h"

#include <sys/random.h>

#include <cerrno>
#include <cstddef>
#include <system_error>

namespace crypto {
namespace {

std::uint32_t RandomWord() {
  std::uint32_t word = 0;
  auto* out = reinterpret_cast<unsigned char*>(&word);
  std::size_t filled = 0;
  while (filled < sizeof word) {
    const ssize_t got = getrandom(out + filled, sizeof word - filled, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw std::system_error(errno, std::generic_category(), "getrandom");
    }
    filled += static_cast<std::size_t>(got);
  }
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
