#pragma once
// The key of a protected database file as the engine takes it. The store never derives a key:
// it is handed the derived key with the salt it was derived from, and keeps no copy of them.
#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace store {

inline constexpr std::size_t kFileKeyBytes = 32;
inline constexpr std::size_t kFileSaltBytes = 16;

// What table Pass holds in a protected file instead of the master password's cipher text,
// which would give the password away. It can never equal a cipher text (upper-case hexadecimal).
inline constexpr std::string_view kProtectedPassMarker = "protected-file";

// Views of the caller's buffers, which must outlive every use.
struct FileKey {
  std::span<const unsigned char, kFileKeyBytes> key;
  std::span<const unsigned char, kFileSaltBytes> salt;
};

// "x'<64 hex digits of the key><32 hex digits of the salt>'": the engine's raw-key form, which
// also writes the salt as the file's first 16 bytes. The key alone would give every new copy
// a random salt, and the next derivation from the password would no longer open it.
// The text is wiped when it goes.
class RawKeyText {
 public:
  explicit RawKeyText(const FileKey& key);
  ~RawKeyText();
  RawKeyText(const RawKeyText&) = delete;
  RawKeyText& operator=(const RawKeyText&) = delete;

  std::string_view view() const { return {text_.data(), text_.size()}; }

 private:
  std::array<char, 2 + 2 * (kFileKeyBytes + kFileSaltBytes) + 1> text_{};
};

}  // namespace store
