// Global hot keys on a real X server: presses arrive, lock keys do not matter, a combination
// that another client holds is refused, and releasing gives it back.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "platform/x11/x11_hot_keys.h"

namespace {

constexpr int kAccountId = 8, kPasswordId = 9;

void Xdotool(const QStringList& arguments) {
  ASSERT_EQ(QProcess::execute("xdotool", arguments), 0) << arguments.join(' ').toStdString();
}

// A second client of the same server, as another program would be.
class OtherClient {
 public:
  OtherClient() : display_(XOpenDisplay(nullptr)) { XSetErrorHandler(&OtherClient::recordError); }
  ~OtherClient() { XCloseDisplay(display_); }
  // True when the server granted the grab of key with exactly these modifiers.
  bool grab(KeySym key, unsigned modifiers) {
    failed_ = false;
    XGrabKey(display_, XKeysymToKeycode(display_, key), modifiers, DefaultRootWindow(display_), False, GrabModeAsync,
             GrabModeAsync);
    XSync(display_, False);
    return !failed_;
  }
  void ungrab(KeySym key, unsigned modifiers) {
    XUngrabKey(display_, XKeysymToKeycode(display_, key), modifiers, DefaultRootWindow(display_));
    XSync(display_, False);
  }
  bool canGrabKeyboard() {
    int status = XGrabKeyboard(display_, DefaultRootWindow(display_), False, GrabModeAsync, GrabModeAsync, CurrentTime);
    XUngrabKeyboard(display_, CurrentTime);
    XSync(display_, False);
    return status == GrabSuccess;
  }

 private:
  static int recordError(Display*, XErrorEvent*) {
    failed_ = true;
    return 0;
  }
  static inline bool failed_ = false;
  Display* display_;
};

TEST(X11HotKeys, PressesOfTheRegisteredCombinationArrive) {
  platform::x11::X11HotKeys hotKeys;
  QSignalSpy spy(&hotKeys, &platform::HotKeys::pressed);
  ASSERT_TRUE(hotKeys.registerHotKey(kPasswordId, platform::kModControl, platform::kVkRight));
  ASSERT_TRUE(hotKeys.registerHotKey(kAccountId, platform::kModControl, platform::kVkLeft));
  // Registering again is harmless.
  ASSERT_TRUE(hotKeys.registerHotKey(kPasswordId, platform::kModControl, platform::kVkRight));

  Xdotool({"key", "ctrl+Right"});
  ASSERT_TRUE(spy.wait(5000));
  Xdotool({"key", "ctrl+Left"});
  ASSERT_TRUE(spy.count() >= 2 || spy.wait(5000));
  ASSERT_EQ(spy.count(), 2);
  EXPECT_EQ(spy.at(0).at(0).toInt(), kPasswordId);
  EXPECT_EQ(spy.at(1).at(0).toInt(), kAccountId);

  // With NumLock and with CapsLock on the combination still works.
  for (const char* lock : {"Num_Lock", "Caps_Lock"}) {
    spy.clear();
    Xdotool({"key", lock});
    Xdotool({"key", "ctrl+Right"});
    EXPECT_TRUE(spy.wait(5000)) << lock;
    Xdotool({"key", lock});
    ASSERT_EQ(spy.count(), 1) << lock;
    EXPECT_EQ(spy.at(0).at(0).toInt(), kPasswordId);
  }

  // Right without Ctrl is no hot key.
  spy.clear();
  Xdotool({"key", "Right"});
  Xdotool({"key", "ctrl+Left"});
  ASSERT_TRUE(spy.wait(5000));
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).toInt(), kAccountId);
}

TEST(X11HotKeys, AHeldCombinationCountsOnceUntilItIsReleased) {
  platform::x11::X11HotKeys hotKeys;
  QSignalSpy spy(&hotKeys, &platform::HotKeys::pressed);
  ASSERT_TRUE(hotKeys.registerHotKey(kPasswordId, platform::kModControl, platform::kVkRight));
  Xdotool({"keydown", "ctrl+Right"});
  ASSERT_TRUE(spy.wait(5000));
  // Held well past the server's repeat delay: its repeats are no new presses. The keyboard
  // stays with the hot key until the release, which frees it for the keys sent afterwards.
  QTest::qWait(1500);
  EXPECT_FALSE(OtherClient().canGrabKeyboard());
  Xdotool({"keyup", "ctrl+Right"});
  QTest::qWait(200);
  EXPECT_TRUE(OtherClient().canGrabKeyboard());
  EXPECT_EQ(spy.count(), 1);

  // The next press after the release is a new one.
  Xdotool({"key", "ctrl+Right"});
  EXPECT_TRUE(spy.count() >= 2 || spy.wait(5000));
  QTest::qWait(200);
  EXPECT_EQ(spy.count(), 2);
}

TEST(X11HotKeys, ACombinationHeldByAnotherProgramIsRefusedAndNothingOfItIsKept) {
  OtherClient other;
  ASSERT_TRUE(other.grab(XK_Right, ControlMask));
  platform::x11::X11HotKeys hotKeys;
  EXPECT_FALSE(hotKeys.registerHotKey(kPasswordId, platform::kModControl, platform::kVkRight));
  // Another combination is free.
  EXPECT_TRUE(hotKeys.registerHotKey(kAccountId, platform::kModControl, platform::kVkLeft));
  other.ungrab(XK_Right, ControlMask);

  // Only the CapsLock variant taken: still refused, and the variants granted before are let go.
  ASSERT_TRUE(other.grab(XK_Right, ControlMask | LockMask));
  EXPECT_FALSE(hotKeys.registerHotKey(kPasswordId, platform::kModControl, platform::kVkRight));
  OtherClient third;
  EXPECT_TRUE(third.grab(XK_Right, ControlMask));
  third.ungrab(XK_Right, ControlMask);
  other.ungrab(XK_Right, ControlMask | LockMask);

  // Once the other program lets go, the combination can be had.
  EXPECT_TRUE(hotKeys.registerHotKey(kPasswordId, platform::kModControl, platform::kVkRight));
  EXPECT_FALSE(third.grab(XK_Right, ControlMask));
}

TEST(X11HotKeys, UnregisteringReleasesEveryVariant) {
  platform::x11::X11HotKeys hotKeys;
  ASSERT_TRUE(hotKeys.registerHotKey(kPasswordId, platform::kModControl, platform::kVkRight));
  hotKeys.unregisterHotKey(kPasswordId);
  hotKeys.unregisterHotKey(kPasswordId);  // a second time does nothing

  OtherClient other;
  for (unsigned locks : {0u, unsigned(LockMask), unsigned(Mod2Mask), unsigned(LockMask | Mod2Mask)}) {
    EXPECT_TRUE(other.grab(XK_Right, ControlMask | locks)) << locks;
    other.ungrab(XK_Right, ControlMask | locks);
  }

  // And a destroyed registry lets go of what it held.
  {
    platform::x11::X11HotKeys shortLived;
    ASSERT_TRUE(shortLived.registerHotKey(kAccountId, platform::kModControl, platform::kVkLeft));
    EXPECT_FALSE(other.grab(XK_Left, ControlMask));
  }
  EXPECT_TRUE(other.grab(XK_Left, ControlMask));
}

}  // namespace
