#pragma once
// System-wide hot keys on X11: passive key grabs on the root window, read from Qt's own
// connection to the server. A held combination counts once: its repeats are dropped until the
// key is released.
#include <QAbstractNativeEventFilter>
#include <deque>
#include <map>
#include <set>

#include "platform/hot_keys.h"

struct _XDisplay;  // NOLINT(bugprone-reserved-identifier): Xlib's own name for Display
struct xcb_connection_t;

namespace platform::x11 {

class X11HotKeys final : public HotKeys, public QAbstractNativeEventFilter {
  Q_OBJECT
 public:
  // Without an X11 session every registration fails.
  explicit X11HotKeys(QObject* parent = nullptr);
  ~X11HotKeys() override;

  bool registerHotKey(int id, unsigned modifiers, std::uint8_t virtualKey) override;
  void unregisterHotKey(int id) override;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  struct Grab {
    unsigned modifiers;
    std::uint8_t virtualKey;
    unsigned keycode;
    unsigned xModifiers;
  };

  unsigned numLockMask() const;
  // The combination with every CapsLock and NumLock state; all or nothing.
  bool grab(unsigned keycode, unsigned xModifiers);
  void ungrab(unsigned keycode, unsigned xModifiers);
  void sync();
  void deliverPresses();

  xcb_connection_t* connection_ = nullptr;
  _XDisplay* display_ = nullptr;
  unsigned long root_ = 0;
  std::map<int, Grab> grabs_;
  std::set<unsigned> held_;  // keycodes of combinations pressed and not yet released
  std::deque<int> pending_;
  bool delivering_ = false;
};

}  // namespace platform::x11
