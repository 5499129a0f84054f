#pragma once
// The virtual keys that stand for characters: 0x88 to 0x8F are unassigned on Windows, so a key
// sink answers keyForCharacter with one of them and knows the character when it is pressed.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace platform {

inline constexpr std::uint8_t kFirstCharacterKey = 0x88;
inline constexpr std::size_t kCharacterKeyCount = 8;

// The slot (0 to kCharacterKeyCount - 1) of a virtual key, or kCharacterKeyCount for a key that
// stands for no character.
inline std::size_t CharacterSlotOf(std::uint8_t virtualKey) {
  const std::size_t slot = static_cast<std::size_t>(virtualKey - kFirstCharacterKey);
  return virtualKey >= kFirstCharacterKey && slot < kCharacterKeyCount ? slot : kCharacterKeyCount;
}

// The slot for a keysym: the one that stands for it already, else the next in turn, so that the
// few characters a sender looks up ahead keep their keys. keysymOf reads a slot's keysym.
template <typename Slot, typename KeysymOf>
std::size_t CharacterSlotFor(const std::array<Slot, kCharacterKeyCount>& held, std::size_t& next, unsigned long keysym,
                             KeysymOf keysymOf) {
  const auto same = std::find_if(held.begin(), held.end(), [&](const Slot& slot) { return keysymOf(slot) == keysym; });
  if (same != held.end()) return static_cast<std::size_t>(same - held.begin());
  const std::size_t slot = next;
  next = (next + 1) % kCharacterKeyCount;
  return slot;
}

// The character keys' virtual key for a slot.
inline std::uint16_t CharacterKey(std::size_t slot) { return static_cast<std::uint16_t>(kFirstCharacterKey + slot); }

}  // namespace platform
