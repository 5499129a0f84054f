#include "platform/x11/x11_key_sink.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <thread>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "platform/x11/x11_layout.h"
#include "platform/x11/x11_virtual_keys.h"

namespace platform::x11 {
namespace {

// A receiver rereads the keymap when it comes to handle the mapping change, which may be long
// after the change when it lags behind the typing. So a borrowed key keeps its character while
// typing goes on (each character its own key) and is given back only after a pause.
constexpr auto kRemapSettle = std::chrono::milliseconds(50);
constexpr int kReturnAfterPauseMs = 2000;
constexpr auto kReturnAtEnd = std::chrono::milliseconds(500);
// Qt's IBus module asks the daemon about each key and delivers a key whose answer came at once
// ahead of earlier ones still waiting for theirs: a busy receiver scrambled a burst of keys. A
// pause after each character lets each answer come in before the next key.
constexpr auto kBetweenCharacters = std::chrono::milliseconds(20);

}  // namespace

std::unique_ptr<X11KeySink> X11KeySink::open(const char* displayName) {
  int xkbEvent = 0, xkbError = 0, major = XkbMajorVersion, minor = XkbMinorVersion, reason = 0;
  Display* display = XkbOpenDisplay(const_cast<char*>(displayName), &xkbEvent, &xkbError, &major, &minor, &reason);
  if (!display) return nullptr;
  int event = 0, xtestError = 0;
  if (!XTestQueryExtension(display, &event, &xtestError, &major, &minor)) {
    XCloseDisplay(display);
    return nullptr;
  }
  return std::unique_ptr<X11KeySink>(new X11KeySink(display));
}

X11KeySink::X11KeySink(Display* display) : display_(display) {}

X11KeySink::~X11KeySink() {
  for (CharacterSlot& slot : slots_)
    if (slot.pressed.keycode) releaseCharacter(slot);
  if (!borrowed_.empty()) {
    std::this_thread::sleep_for(kReturnAtEnd);
    returnBorrowedKeys();
  }
  XCloseDisplay(display_);
}

X11KeySink::CharacterSlot* X11KeySink::slotFor(std::uint8_t virtualKey) {
  const std::size_t index = CharacterSlotOf(virtualKey);
  if (index == kCharacterKeyCount) return nullptr;
  CharacterSlot& slot = slots_[index];
  return slot.keysym ? &slot : nullptr;
}

std::uint16_t X11KeySink::keyForCharacter(char32_t character) {
  const unsigned long keysym = KeysymForCharacter(character);
  if (keysym == NoSymbol) return kNoKey;
  if (!FindCharacterOnLayout(display_, character, keysym) && !FindSpareKeycode(display_) && borrowed_.empty())
    return kNoKey;

  const std::size_t index =
      CharacterSlotFor(slots_, nextSlot_, keysym, [](const CharacterSlot& slot) { return slot.keysym; });
  CharacterSlot& slot = slots_[index];
  if (slot.keysym != keysym) {
    if (slot.pressed.keycode) releaseCharacter(slot);
    slot.settled = {};
  }
  slot.character = character;
  slot.keysym = keysym;
  return CharacterKey(index);
}

void X11KeySink::keyDown(std::uint8_t virtualKey, bool) {
  if (CharacterSlot* slot = slotFor(virtualKey)) {
    pressCharacter(*slot);
    return;
  }
  const unsigned long keysym = KeysymForVirtualKey(virtualKey);
  if (keysym == NoSymbol) return;
  if (KeyCode keycode = XKeysymToKeycode(display_, keysym)) sendKey(keycode, true);
}

void X11KeySink::keyUp(std::uint8_t virtualKey, bool) {
  if (CharacterSlot* slot = slotFor(virtualKey)) {
    releaseCharacter(*slot);
    return;
  }
  const unsigned long keysym = KeysymForVirtualKey(virtualKey);
  if (keysym == NoSymbol) return;
  if (KeyCode keycode = XKeysymToKeycode(display_, keysym)) sendKey(keycode, false);
}

std::chrono::milliseconds X11KeySink::prepareKey(std::uint16_t key) {
  CharacterSlot* slot = key <= 0xFF ? slotFor(static_cast<std::uint8_t>(key)) : nullptr;
  if (!slot) return {};
  const Clock::time_point now = Clock::now();
  if (now < slot->settled) return std::chrono::ceil<std::chrono::milliseconds>(slot->settled - now);
  if (FindCharacterOnLayout(display_, slot->character, slot->keysym)) return {};
  return borrowKeyFor(*slot, now);
}

std::chrono::milliseconds X11KeySink::pauseAfterCharacter() const { return kBetweenCharacters; }

void X11KeySink::pressCharacter(CharacterSlot& slot) {
  if (slot.pressed.keycode) releaseCharacter(slot);
  std::optional<KeyStroke> stroke = FindCharacterOnLayout(display_, slot.character, slot.keysym);
  if (!stroke) return;
  if (stroke->clearCapsLock) lockCapsLock(false);
  for (unsigned modifier : stroke->modifierKeys) sendKey(modifier, true);
  sendKey(stroke->keycode, true);
  slot.pressed = std::move(*stroke);
}

void X11KeySink::releaseCharacter(CharacterSlot& slot) {
  if (!slot.pressed.keycode) return;
  sendKey(slot.pressed.keycode, false);
  for (auto it = slot.pressed.modifierKeys.rbegin(); it != slot.pressed.modifierKeys.rend(); ++it) sendKey(*it, false);
  if (slot.pressed.clearCapsLock) lockCapsLock(true);
  slot.pressed = {};
  if (!borrowed_.empty()) scheduleReturnOfBorrowedKeys();
}

std::chrono::milliseconds X11KeySink::borrowKeyFor(CharacterSlot& slot, Clock::time_point now) {
  unsigned spare = FindSpareKeycode(display_);
  if (!spare && !borrowed_.empty()) {
    // All spare keys carry characters: give them back, late enough for the strokes to be read.
    if (!allTakenSince_) allTakenSince_ = now;
    if (now < *allTakenSince_ + kReturnAtEnd)
      return std::chrono::ceil<std::chrono::milliseconds>(*allTakenSince_ + kReturnAtEnd - now);
    returnBorrowedKeys();
    spare = FindSpareKeycode(display_);
  }
  if (!spare) return {};
  KeySym symbol = slot.keysym;
  XChangeKeyboardMapping(display_, static_cast<int>(spare), 1, &symbol, 1);
  XSync(display_, False);
  borrowed_.push_back(spare);
  scheduleReturnOfBorrowedKeys();  // also when the fill ends before the key is pressed
  slot.settled = now + kRemapSettle;
  return kRemapSettle;
}

void X11KeySink::scheduleReturnOfBorrowedKeys() {
  // Without an event loop the keys go back when the sink is destroyed.
  if (!QCoreApplication::instance()) return;
  if (!returnTimer_) {
    returnTimer_ = std::make_unique<QTimer>();
    returnTimer_->setSingleShot(true);
    returnTimer_->setInterval(kReturnAfterPauseMs);
    QObject::connect(returnTimer_.get(), &QTimer::timeout, [this] { returnBorrowedKeys(); });
  }
  returnTimer_->start();
}

void X11KeySink::returnBorrowedKeys() {
  KeySym nothing = NoSymbol;
  for (unsigned keycode : borrowed_) XChangeKeyboardMapping(display_, static_cast<int>(keycode), 1, &nothing, 1);
  XSync(display_, False);
  borrowed_.clear();
  allTakenSince_.reset();
}

void X11KeySink::sendKey(unsigned keycode, bool down) {
  sentDown_.set(keycode, down);
  XTestFakeKeyEvent(display_, keycode, down ? True : False, CurrentTime);
  XSync(display_, False);
}

void X11KeySink::lockCapsLock(bool on) {
  XkbLockModifiers(display_, XkbUseCoreKbd, LockMask, on ? LockMask : 0);
  XSync(display_, False);
}

unsigned X11KeySink::numLockMask() {
  unsigned mask = XkbKeysymToModifiers(display_, XK_Num_Lock);
  return mask ? mask : Mod2Mask;
}

bool X11KeySink::numLockOn() {
  XkbStateRec state{};
  if (XkbGetState(display_, XkbUseCoreKbd, &state) != Success) return false;
  return (state.locked_mods & numLockMask()) != 0;
}

void X11KeySink::setNumLock(bool on) {
  const unsigned mask = numLockMask();
  XkbLockModifiers(display_, XkbUseCoreKbd, mask, on ? mask : 0);
  XSync(display_, False);
}

bool X11KeySink::keysHeld() {
  char keys[32] = {};
  XQueryKeymap(display_, keys);
  for (unsigned code = 0; code < sentDown_.size(); ++code)
    if ((keys[code / 8] & (1 << (code % 8))) && !sentDown_[code]) return true;
  return false;
}

void X11KeySink::pumpMessages() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

}  // namespace platform::x11
