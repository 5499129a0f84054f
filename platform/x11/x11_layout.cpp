#include "platform/x11/x11_layout.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <bit>
#include <memory>

namespace platform::x11 {
namespace {

struct KeyboardDeleter {
  void operator()(XkbDescPtr xkb) const { XkbFreeKeyboard(xkb, 0, True); }
};
struct ModmapDeleter {
  void operator()(XModifierKeymap* map) const { XFreeModifiermap(map); }
};
using Keyboard = std::unique_ptr<XkbDescRec, KeyboardDeleter>;
using Modmap = std::unique_ptr<XModifierKeymap, ModmapDeleter>;

Keyboard FetchKeyboard(Display* display) {
  return Keyboard(XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd));
}

// The shift level that a modifier state selects on a key of this type.
int LevelFor(const XkbKeyTypeRec& type, unsigned mods) {
  for (int i = 0; i < type.map_count; ++i) {
    const XkbKTMapEntryRec& entry = type.map[i];
    if (entry.active && entry.mods.mask == mods) return entry.level;
  }
  return 0;
}

// One key that sets the modifier bit, from the core modifier mapping; 0 when none does.
unsigned KeyForModifier(const XModifierKeymap& modmap, int modifierIndex) {
  for (int j = 0; j < modmap.max_keypermod; ++j)
    if (KeyCode code = modmap.modifiermap[modifierIndex * modmap.max_keypermod + j]) return code;
  return 0;
}

std::optional<std::vector<unsigned>> KeysForModifiers(const XModifierKeymap& modmap, unsigned mods) {
  std::vector<unsigned> keys;
  for (int i = 0; i < 8; ++i) {
    if (!(mods & (1u << i))) continue;
    unsigned key = KeyForModifier(modmap, i);
    if (!key) return std::nullopt;
    keys.push_back(key);
  }
  return keys;
}

bool IsKeypadKeysym(KeySym sym) { return sym >= XK_KP_Space && sym <= XK_KP_9; }

bool TypesCharacter(KeySym sym, char32_t character, unsigned long keysym, bool exactOnly) {
  if (sym == NoSymbol) return false;
  if (exactOnly) return sym == keysym;
  return !IsKeypadKeysym(sym) && xkb_keysym_to_utf32(static_cast<xkb_keysym_t>(sym)) == character;
}

// The modifiers to hold so that, with the locked ones, the key of this type reaches the level.
std::optional<unsigned> ModifiersForLevel(const XkbKeyTypeRec& type, int level, unsigned locked, unsigned lockingMods) {
  std::vector<unsigned> candidates{0, ShiftMask};
  for (int i = 0; i < type.map_count; ++i)
    if (type.map[i].active) candidates.push_back(type.map[i].mods.mask & ~lockingMods);
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](unsigned a, unsigned b) { return std::popcount(a) < std::popcount(b); });
  for (unsigned mods : candidates)
    if (LevelFor(type, (mods | locked) & type.mods.mask) == level) return mods;
  return std::nullopt;
}

}  // namespace

unsigned long KeysymForCharacter(char32_t character) {
  if (character < 0x20 || (character >= 0x7F && character < 0xA0)) return NoSymbol;
  if ((character >= 0xD800 && character <= 0xDFFF) || character > 0x10FFFF) return NoSymbol;
  return xkb_utf32_to_keysym(character);
}

std::optional<KeyStroke> FindCharacterOnLayout(Display* display, char32_t character, unsigned long keysym) {
  Keyboard xkb = FetchKeyboard(display);
  Modmap modmap(XGetModifierMapping(display));
  XkbStateRec state{};
  if (!xkb || !modmap || XkbGetState(display, XkbUseCoreKbd, &state) != Success) return std::nullopt;
  const unsigned lockingMods = LockMask | XkbKeysymToModifiers(display, XK_Num_Lock);
  const unsigned locked = state.locked_mods;

  // The character's own keysym first; another keysym of the same character only when that fails.
  for (bool exactOnly : {true, false}) {
    for (int key = xkb->min_key_code; key <= xkb->max_key_code; ++key) {
      const int groups = XkbKeyNumGroups(xkb.get(), key);
      if (groups == 0) continue;
      const int group = state.group % groups;
      const XkbKeyTypeRec& type = *XkbKeyKeyType(xkb.get(), key, group);
      const int width = XkbKeyGroupWidth(xkb.get(), key, group);
      for (int level = 0; level < width; ++level) {
        const KeySym sym = XkbKeySymEntry(xkb.get(), key, level, group);
        if (!TypesCharacter(sym, character, keysym, exactOnly)) continue;
        // Where the key type leaves CapsLock alone, receivers upper-case the symbol themselves.
        const bool clearCapsLock = (locked & LockMask) && !(type.mods.mask & LockMask) &&
                                   xkb_keysym_to_upper(static_cast<xkb_keysym_t>(sym)) != sym;
        const unsigned lockedForStroke = clearCapsLock ? locked & ~static_cast<unsigned>(LockMask) : locked;
        std::optional<unsigned> mods = ModifiersForLevel(type, level, lockedForStroke, lockingMods);
        if (!mods) continue;
        std::optional<std::vector<unsigned>> modifierKeys = KeysForModifiers(*modmap, *mods);
        if (!modifierKeys) continue;
        return KeyStroke{static_cast<unsigned>(key), std::move(*modifierKeys), clearCapsLock};
      }
    }
  }
  return std::nullopt;
}

unsigned FindSpareKeycode(Display* display) {
  Keyboard xkb = FetchKeyboard(display);
  Modmap modmap(XGetModifierMapping(display));
  if (!xkb || !modmap) return 0;
  auto isModifierKey = [&](int key) {
    const int entries = 8 * modmap->max_keypermod;
    return std::find(modmap->modifiermap, modmap->modifiermap + entries, key) != modmap->modifiermap + entries;
  };
  for (int key = xkb->max_key_code; key >= xkb->min_key_code; --key) {
    if (isModifierKey(key)) continue;
    bool empty = true;
    for (int i = 0; i < XkbKeyNumSyms(xkb.get(), key) && empty; ++i)
      empty = XkbKeySymsPtr(xkb.get(), key)[i] == NoSymbol;
    if (empty) return static_cast<unsigned>(key);
  }
  return 0;
}

}  // namespace platform::x11
