#include "platform/wayland/wayland_virtual_keyboard.h"

#include <sys/mman.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <string>

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "platform/wayland/wayland_globals.h"
#include "platform/x11/x11_virtual_keys.h"
#include "virtual-keyboard-unstable-v1-client-protocol.h"

namespace platform::wayland {
namespace {

// xkb key codes are evdev codes + 8, and Xwayland takes none above 255.
constexpr std::uint32_t kXkbOffset = 8;
constexpr std::size_t kMostKeys = 255 - kXkbOffset - 1;
constexpr std::uint32_t kKeymapFormatXkbV1 = 1;  // wl_keyboard.keymap_format.xkb_v1

// The real modifiers' bits, fixed by xkb: Shift 0, Lock 1, Control 2, Mod1 (Alt) 3.
std::uint32_t ModifierBit(std::uint32_t keysym) {
  switch (keysym) {
    case XKB_KEY_Shift_L:
      return 1U << 0;
    case XKB_KEY_Control_L:
      return 1U << 2;
    case XKB_KEY_Alt_L:
      return 1U << 3;
    default:
      return 0;
  }
}

const char* ModifierName(std::uint32_t keysym) {
  switch (keysym) {
    case XKB_KEY_Shift_L:
      return "Shift";
    case XKB_KEY_Control_L:
      return "Control";
    case XKB_KEY_Alt_L:
      return "Mod1";
    default:
      return nullptr;
  }
}

std::uint32_t NowMs() {
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count());
}

}  // namespace

std::string KeymapText(const std::vector<std::uint32_t>& keysyms) {
  std::string codes, symbols, modifiers;
  for (std::size_t i = 0; i < keysyms.size(); ++i) {
    const std::string key = "<K" + std::to_string(i + 1) + ">";
    codes.append(key).append(" = ").append(std::to_string(i + 1 + kXkbOffset)).append(";\n");
    char name[64] = {};
    const bool named = xkb_keysym_get_name(keysyms[i], name, sizeof name) > 0;
    symbols.append("key ").append(key).append(" { [ ").append(named ? name : "NoSymbol").append(" ] };\n");
    if (const char* modifier = ModifierName(keysyms[i]))
      modifiers.append("modifier_map ").append(modifier).append(" { ").append(key).append(" };\n");
  }
  std::string text = "xkb_keymap {\nxkb_keycodes \"keyhaven\" {\nminimum = 8;\nmaximum = 255;\n";
  text.append(codes).append("};\nxkb_types \"keyhaven\" { include \"complete\" };\n");
  text.append("xkb_compatibility \"keyhaven\" { include \"complete\" };\nxkb_symbols \"keyhaven\" {\n");
  return text.append(symbols).append(modifiers).append("};\n};\n");
}

std::unique_ptr<WaylandVirtualKeyboard> WaylandVirtualKeyboard::open() {
  const std::optional<CompositorConnection> compositor =
      ConnectWithSeatAndManager(zwp_virtual_keyboard_manager_v1_interface);
  if (!compositor) return nullptr;
  auto* manager = static_cast<zwp_virtual_keyboard_manager_v1*>(compositor->manager);
  zwp_virtual_keyboard_v1* keyboard =
      zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(manager, compositor->seat);
  // A seat without a keyboard gains one now, and the focused window asks for it in its own
  // time: the keyboard is made at once, well before the first key. A refusal ends the connection.
  if (wl_display_roundtrip(compositor->display) < 0) {
    zwp_virtual_keyboard_v1_destroy(keyboard);
    Disconnect(*compositor);
    return nullptr;
  }
  return std::unique_ptr<WaylandVirtualKeyboard>(
      new WaylandVirtualKeyboard(compositor->display, compositor->seat, manager, keyboard));
}

WaylandVirtualKeyboard::WaylandVirtualKeyboard(wl_display* display, wl_seat* seat,
                                               zwp_virtual_keyboard_manager_v1* manager,
                                               zwp_virtual_keyboard_v1* keyboard)
    : display_(display),
      seat_(seat),
      manager_(manager),
      keyboard_(keyboard),
      keysyms_{XKB_KEY_Control_L, XKB_KEY_v} {}  // Ctrl+V of the paste style

WaylandVirtualKeyboard::~WaylandVirtualKeyboard() {
  if (!failed_ && keymapSent_) {
    const std::uint32_t time = NowMs();
    for (std::uint32_t code : held_) zwp_virtual_keyboard_v1_key(keyboard_, time, code, WL_KEYBOARD_KEY_STATE_RELEASED);
    if (modifiers_) zwp_virtual_keyboard_v1_modifiers(keyboard_, 0, 0, 0, 0);
  }
  zwp_virtual_keyboard_v1_destroy(keyboard_);
  zwp_virtual_keyboard_manager_v1_destroy(manager_);
  wl_seat_destroy(seat_);
  wl_display_roundtrip(display_);  // the last keys reach the compositor before the keyboard goes
  wl_display_disconnect(display_);
}

std::uint32_t WaylandVirtualKeyboard::keyFor(std::uint32_t keysym) {
  auto found = std::find(keysyms_.begin(), keysyms_.end(), keysym);
  if (found != keysyms_.end()) return static_cast<std::uint32_t>(found - keysyms_.begin()) + 1;
  if (keysyms_.size() >= kMostKeys) return 0;
  keysyms_.push_back(keysym);
  keymapSent_ = false;
  return static_cast<std::uint32_t>(keysyms_.size());
}

std::uint16_t WaylandVirtualKeyboard::keyForCharacter(char32_t character) {
  const xkb_keysym_t keysym = xkb_utf32_to_keysym(character);
  if (keysym == XKB_KEY_NoSymbol || keyFor(keysym) == 0) return kNoKey;
  const std::size_t index = CharacterSlotFor(slots_, nextSlot_, keysym, [](std::uint32_t held) { return held; });
  slots_[index] = keysym;
  return CharacterKey(index);
}

// X keysyms are xkb's: the named keys are the X11 sink's.
std::uint32_t WaylandVirtualKeyboard::keysymOf(std::uint8_t virtualKey) const {
  if (const std::size_t slot = CharacterSlotOf(virtualKey); slot < kCharacterKeyCount) return slots_[slot];
  return static_cast<std::uint32_t>(x11::KeysymForVirtualKey(virtualKey));
}

void WaylandVirtualKeyboard::keyDown(std::uint8_t virtualKey, bool) { send(virtualKey, true); }

void WaylandVirtualKeyboard::keyUp(std::uint8_t virtualKey, bool) { send(virtualKey, false); }

void WaylandVirtualKeyboard::send(std::uint8_t virtualKey, bool down) {
  const std::uint32_t keysym = keysymOf(virtualKey);
  if (failed_ || keysym == XKB_KEY_NoSymbol) return;
  const std::uint32_t code = keyFor(keysym);
  if (code == 0 || !uploadKeymap()) return;
  auto held = std::find(held_.begin(), held_.end(), code);
  if (down == (held != held_.end())) return;  // only what changes is sent
  if (down)
    held_.push_back(code);
  else
    held_.erase(held);
  zwp_virtual_keyboard_v1_key(keyboard_, NowMs(), code,
                              down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
  // The compositor does not derive the modifiers from a virtual keyboard's keys: they are sent.
  if (const std::uint32_t bit = ModifierBit(keysym)) {
    modifiers_ = down ? (modifiers_ | bit) : (modifiers_ & ~bit);
    zwp_virtual_keyboard_v1_modifiers(keyboard_, modifiers_, 0, 0, 0);
  }
  // Should the compositor end the connection, the rest of the value is dropped, not half typed on.
  failed_ = wl_display_roundtrip(display_) < 0;
}

bool WaylandVirtualKeyboard::uploadKeymap() {
  if (keymapSent_) return true;
  const std::string text = KeymapText(keysyms_);
  const int fd = memfd_create("keyhaven-keymap", MFD_CLOEXEC);
  if (fd < 0) return false;
  const std::size_t size = text.size() + 1;  // with its terminating zero, as keymaps are sent
  const bool written = write(fd, text.c_str(), size) == static_cast<ssize_t>(size);
  if (written) zwp_virtual_keyboard_v1_keymap(keyboard_, kKeymapFormatXkbV1, fd, static_cast<std::uint32_t>(size));
  close(fd);
  // The keys that follow are read with the new keymap only once the compositor has taken it.
  if (modifiers_) zwp_virtual_keyboard_v1_modifiers(keyboard_, modifiers_, 0, 0, 0);  // a new keymap starts bare
  failed_ = !written || wl_display_roundtrip(display_) < 0;
  keymapSent_ = !failed_;
  return keymapSent_;
}

void WaylandVirtualKeyboard::pumpMessages() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

}  // namespace platform::wayland
