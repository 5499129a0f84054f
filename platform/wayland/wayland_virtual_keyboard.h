#pragma once
// Keys for native Wayland windows where the compositor offers a virtual keyboard (sway and the
// other wlroots desktops). The keyboard brings its own keymap that holds just the keys of one
// fill, so every character is typed as itself, whatever the user's layout.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/character_keys.h"
#include "platform/key_sink.h"

struct wl_display;
struct wl_seat;
struct zwp_virtual_keyboard_manager_v1;
struct zwp_virtual_keyboard_v1;

namespace platform::wayland {

// The keymap, in xkbcommon's text form, on which evdev code i + 1 yields keysyms[i]; the
// keysyms of Shift, Control and Alt act as those modifiers.
std::string KeymapText(const std::vector<std::uint32_t>& keysyms);

class WaylandVirtualKeyboard final : public KeySink {
 public:
  // nullptr without a Wayland display, or where its compositor offers no virtual keyboard.
  static std::unique_ptr<WaylandVirtualKeyboard> open();
  // Lets go of every key it holds down.
  ~WaylandVirtualKeyboard() override;
  WaylandVirtualKeyboard(const WaylandVirtualKeyboard&) = delete;
  WaylandVirtualKeyboard& operator=(const WaylandVirtualKeyboard&) = delete;

  void keyDown(std::uint8_t virtualKey, bool extended) override;
  void keyUp(std::uint8_t virtualKey, bool extended) override;
  std::uint16_t keyForCharacter(char32_t character) override;
  bool numLockOn() override { return false; }
  void setNumLock(bool) override {}
  // The compositor keeps each keyboard's modifiers apart: the user's held keys do not combine
  // with these, and the user's own keys cannot be read.
  bool keysHeld() override { return false; }
  void pumpMessages() override;

 private:
  WaylandVirtualKeyboard(wl_display* display, wl_seat* seat, zwp_virtual_keyboard_manager_v1* manager,
                         zwp_virtual_keyboard_v1* keyboard);
  // The evdev code of the key that yields keysym, added to the keymap when it has none yet;
  // 0 when the keymap is full.
  std::uint32_t keyFor(std::uint32_t keysym);
  std::uint32_t keysymOf(std::uint8_t virtualKey) const;
  void send(std::uint8_t virtualKey, bool down);
  bool uploadKeymap();

  wl_display* display_;
  wl_seat* seat_;
  zwp_virtual_keyboard_manager_v1* manager_;
  zwp_virtual_keyboard_v1* keyboard_;
  std::vector<std::uint32_t> keysyms_;  // the keymap: evdev code i + 1 yields keysyms_[i]
  bool keymapSent_ = false;
  std::array<std::uint32_t, kCharacterKeyCount> slots_{};  // keysyms of the virtual keys that stand for characters
  std::size_t nextSlot_ = 0;
  std::vector<std::uint32_t> held_;  // evdev codes pressed and not released
  std::uint32_t modifiers_ = 0;
  bool failed_ = false;  // the compositor ended the connection
};

}  // namespace platform::wayland
