#include "crypto/held_key.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <new>
#include <utility>

namespace crypto {

namespace {

std::size_t PageSize() { return static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)); }

}  // namespace

// A page of its own: unlocking it can never unlock another secret that shares the page.
HeldKey::HeldKey() {
  void* page = ::mmap(nullptr, PageSize(), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (page == MAP_FAILED) throw std::bad_alloc();
  buffer_ = static_cast<unsigned char*>(page);
  locked_ = ::mlock(buffer_, PageSize()) == 0;
  ::madvise(buffer_, PageSize(), MADV_DONTDUMP);  // an old kernel without it still works
}

HeldKey::~HeldKey() { release(); }

HeldKey::HeldKey(HeldKey&& other) noexcept
    : buffer_(std::exchange(other.buffer_, nullptr)), locked_(std::exchange(other.locked_, false)) {}

HeldKey& HeldKey::operator=(HeldKey&& other) noexcept {
  if (this != &other) {
    release();
    buffer_ = std::exchange(other.buffer_, nullptr);
    locked_ = std::exchange(other.locked_, false);
  }
  return *this;
}

std::span<const unsigned char, kHeldKeyBytes> HeldKey::bytes() const {
  return std::span<const unsigned char, kHeldKeyBytes>(buffer_, kHeldKeyBytes);
}

std::span<unsigned char, kHeldKeyBytes> HeldKey::writableBytes() {
  return std::span<unsigned char, kHeldKeyBytes>(buffer_, kHeldKeyBytes);
}

void HeldKey::release() noexcept {
  if (buffer_ == nullptr) return;
  ::explicit_bzero(buffer_, kHeldKeyBytes);
  if (locked_) ::munlock(buffer_, PageSize());
  ::munmap(buffer_, PageSize());
  buffer_ = nullptr;
  locked_ = false;
}

bool ConstantTimeEqual(std::span<const unsigned char> a, std::span<const unsigned char> b) {
  if (a.size() != b.size()) return false;
  // Every byte is read whatever came before; volatile keeps the compiler from stopping early.
  volatile unsigned char difference = 0;
  for (std::size_t i = 0; i < a.size(); ++i) difference = static_cast<unsigned char>(difference | (a[i] ^ b[i]));
  return difference == 0;
}

}  // namespace crypto
