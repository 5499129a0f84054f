// The virtual keyboard's keymap, compiled as a compositor does: each key yields its keysym and
// the modifier keys act as modifiers.
#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon.h>

#include "platform/wayland/wayland_virtual_keyboard.h"

TEST(WaylandKeymap, EachKeyYieldsItsCharacterAndTheModifiersAct) {
  std::vector<std::uint32_t> keysyms{XKB_KEY_Control_L, XKB_KEY_v, XKB_KEY_Shift_L};
  const std::u32string typed = U" ~{}\\\"'A钥，Ａ€ü";
  for (char32_t c : typed) keysyms.push_back(xkb_utf32_to_keysym(c));

  xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  ASSERT_NE(context, nullptr);
  const std::string text = platform::wayland::KeymapText(keysyms);
  xkb_keymap* keymap =
      xkb_keymap_new_from_string(context, text.c_str(), XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
  ASSERT_NE(keymap, nullptr) << text;
  xkb_state* state = xkb_state_new(keymap);
  for (std::size_t i = 0; i < typed.size(); ++i) {
    const xkb_keycode_t code = static_cast<xkb_keycode_t>(i + 3 + 1 + 8);  // evdev code + 8
    EXPECT_EQ(xkb_state_key_get_utf32(state, code), typed[i]) << "key " << code;
  }
  // Control_L (evdev 1) held: the v key is Ctrl+V; Shift_L (evdev 3) is Shift.
  xkb_state_update_key(state, 1 + 8, XKB_KEY_DOWN);
  xkb_state_update_key(state, 3 + 8, XKB_KEY_DOWN);
  EXPECT_EQ(xkb_state_mod_name_is_active(state, XKB_MOD_NAME_CTRL, XKB_STATE_MODS_DEPRESSED), 1);
  EXPECT_EQ(xkb_state_mod_name_is_active(state, XKB_MOD_NAME_SHIFT, XKB_STATE_MODS_DEPRESSED), 1);
  EXPECT_EQ(xkb_state_key_get_one_sym(state, 2 + 8), static_cast<xkb_keysym_t>(XKB_KEY_v));
  xkb_state_unref(state);
  xkb_keymap_unref(keymap);
  xkb_context_unref(context);
}
