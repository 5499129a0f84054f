#include "platform/x11/x11_hot_keys.h"

#include <QGuiApplication>
#include <cstdlib>
#include <vector>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

#include "platform/x11/x11_virtual_keys.h"

namespace platform::x11 {
namespace {

// The modifier bits of a key event's state; pointer buttons are ignored.
constexpr unsigned kModifierBits = 0xFF;

unsigned XModifiersFor(unsigned modifiers) {
  unsigned x = 0;
  if (modifiers & 1) x |= Mod1Mask;  // Alt
  if (modifiers & 2) x |= ControlMask;
  if (modifiers & 4) x |= ShiftMask;
  if (modifiers & 8) x |= Mod4Mask;  // the Windows key
  return x;
}

}  // namespace

X11HotKeys::X11HotKeys(QObject* parent) : HotKeys(parent) {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (!x11 || !x11->connection() || !x11->display()) return;
  connection_ = x11->connection();
  display_ = x11->display();
  root_ = DefaultRootWindow(display_);
  // A held key then repeats as presses alone, without a release between them, so the one
  // release tells when the user let go.
  Bool detectable = False;
  XkbSetDetectableAutoRepeat(display_, True, &detectable);
  qGuiApp->installNativeEventFilter(this);
}

X11HotKeys::~X11HotKeys() {
  if (!connection_) return;
  qGuiApp->removeNativeEventFilter(this);
  for (const auto& [id, grab] : grabs_) ungrab(grab.keycode, grab.xModifiers);
}

unsigned X11HotKeys::numLockMask() const {
  unsigned mask = XkbKeysymToModifiers(display_, XK_Num_Lock);
  return mask ? mask : Mod2Mask;
}

bool X11HotKeys::registerHotKey(int id, unsigned modifiers, std::uint8_t virtualKey) {
  if (!connection_) return false;
  if (auto it = grabs_.find(id); it != grabs_.end()) {
    if (it->second.modifiers == modifiers && it->second.virtualKey == virtualKey) return true;
    unregisterHotKey(id);
  }
  const unsigned long keysym = KeysymForVirtualKey(virtualKey);
  const unsigned keycode = keysym ? XKeysymToKeycode(display_, keysym) : 0;
  if (!keycode) return false;
  const unsigned xModifiers = XModifiersFor(modifiers);
  if (!grab(keycode, xModifiers)) return false;
  grabs_[id] = Grab{modifiers, virtualKey, keycode, xModifiers};
  return true;
}

void X11HotKeys::unregisterHotKey(int id) {
  auto it = grabs_.find(id);
  if (it == grabs_.end()) return;
  ungrab(it->second.keycode, it->second.xModifiers);
  grabs_.erase(it);
}

bool X11HotKeys::grab(unsigned keycode, unsigned xModifiers) {
  const unsigned numLock = numLockMask();
  std::vector<unsigned> granted;
  for (unsigned locks : {0u, unsigned(LockMask), numLock, LockMask | numLock}) {
    // Events go to the root window even when one of our own windows has the focus.
    xcb_void_cookie_t cookie = xcb_grab_key_checked(
        connection_, 0, static_cast<xcb_window_t>(root_), static_cast<uint16_t>(xModifiers | locks),
        static_cast<xcb_keycode_t>(keycode), XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
      std::free(error);  // BadAccess: another client holds this combination
      for (unsigned done : granted)
        xcb_ungrab_key(connection_, static_cast<xcb_keycode_t>(keycode), static_cast<xcb_window_t>(root_),
                       static_cast<uint16_t>(xModifiers | done));
      sync();
      return false;
    }
    granted.push_back(locks);
  }
  return true;
}

void X11HotKeys::ungrab(unsigned keycode, unsigned xModifiers) {
  const unsigned numLock = numLockMask();
  for (unsigned locks : {0u, unsigned(LockMask), numLock, LockMask | numLock})
    xcb_ungrab_key(connection_, static_cast<xcb_keycode_t>(keycode), static_cast<xcb_window_t>(root_),
                   static_cast<uint16_t>(xModifiers | locks));
  sync();
}

// Waits until the server has carried out what was sent, so that a released combination is
// free for others when this returns.
void X11HotKeys::sync() {
  std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

bool X11HotKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t") return false;
  auto* event = static_cast<xcb_generic_event_t*>(message);
  const auto type = event->response_type & 0x7F;
  if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) return false;
  // Press and release share one layout.
  auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
  if (key->event != root_) return false;
  if (type == XCB_KEY_RELEASE) return held_.erase(key->detail) > 0;
  const unsigned state = key->state & kModifierBits & ~(LockMask | numLockMask());
  for (const auto& [id, grab] : grabs_) {
    if (key->detail != grab.keycode || state != grab.xModifiers) continue;
    // The grab keeps the keyboard until the key is released, so its repeats and its release
    // come here; the auto-fill sends nothing before every key is up.
    if (held_.insert(grab.keycode).second) {
      pending_.push_back(id);
      QMetaObject::invokeMethod(this, &X11HotKeys::deliverPresses, Qt::QueuedConnection);
    }
    return true;
  }
  return false;
}

// One press is handled to its end before the next, also when its handler runs the event loop.
void X11HotKeys::deliverPresses() {
  if (delivering_) return;
  delivering_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{delivering_};
  while (!pending_.empty()) {
    const int id = pending_.front();
    pending_.pop_front();
    emit pressed(id);
  }
}

}  // namespace platform::x11
