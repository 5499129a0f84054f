#pragma once
// A derived file key, held for a session: in one buffer of its own that is kept out of swap and
// core dumps where the system allows, and wiped when the key goes.
#include <cstddef>
#include <span>

namespace crypto {

inline constexpr std::size_t kHeldKeyBytes = 32;

class HeldKey {
 public:
  // Zero bytes until written.
  HeldKey();
  ~HeldKey();
  HeldKey(HeldKey&& other) noexcept;
  HeldKey& operator=(HeldKey&& other) noexcept;
  HeldKey(const HeldKey&) = delete;
  HeldKey& operator=(const HeldKey&) = delete;

  std::span<const unsigned char, kHeldKeyBytes> bytes() const;
  std::span<unsigned char, kHeldKeyBytes> writableBytes();
  // Whether the system keeps the buffer in memory; a memory lock limit can refuse it.
  bool isLocked() const { return locked_; }

 private:
  void release() noexcept;

  unsigned char* buffer_ = nullptr;
  bool locked_ = false;
};

// Compares in a time that depends on the lengths alone, so a comparison with a secret tells
// nothing about where the first difference lies.
bool ConstantTimeEqual(std::span<const unsigned char> a, std::span<const unsigned char> b);

inline bool SameKey(const HeldKey& a, const HeldKey& b) { return ConstantTimeEqual(a.bytes(), b.bytes()); }

}  // namespace crypto
