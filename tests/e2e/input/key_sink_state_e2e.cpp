// The keyboard state as the X11 keystroke backend reads and sets it on a real server.
#include <gtest/gtest.h>

#include <QProcess>
#include <memory>
#include <thread>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include "input/send_keys.h"
#include "platform/x11/x11_key_sink.h"

namespace {

void Xdotool(const QStringList& arguments) {
  ASSERT_EQ(QProcess::execute("xdotool", arguments), 0) << arguments.join(' ').toStdString();
}

// The NumLock indicator as another client sees it.
bool NumLockLit() {
  Display* display = XOpenDisplay(nullptr);
  unsigned state = 0;
  XkbGetIndicatorState(display, XkbUseCoreKbd, &state);
  Atom name = XInternAtom(display, "Num Lock", False);
  int index = -1;
  Bool on = False;
  XkbGetNamedIndicator(display, name, &index, &on, nullptr, nullptr);
  XCloseDisplay(display);
  return on;
}

TEST(X11KeySink, KeysHeldFollowsTheUsersKeysButNotItsOwn) {
  auto sink = platform::x11::X11KeySink::open();
  ASSERT_NE(sink, nullptr);
  EXPECT_FALSE(sink->keysHeld());
  for (const char* key : {"Control_L", "Control_R", "Shift_L", "Alt_L", "Super_L", "Right"}) {
    Xdotool({"keydown", key});
    EXPECT_TRUE(sink->keysHeld()) << key;
    EXPECT_FALSE(input::WaitForKeyRelease(*sink, std::chrono::milliseconds(50))) << key;
    Xdotool({"keyup", key});
    EXPECT_FALSE(sink->keysHeld()) << key;
    EXPECT_TRUE(input::WaitForKeyRelease(*sink)) << key;
  }
  // What the sink presses itself is no key of the user's.
  sink->keyDown(platform::kVkShift, false);
  EXPECT_FALSE(sink->keysHeld());
  sink->keyUp(platform::kVkShift, false);
}

TEST(X11KeySink, NumLockIsReadAndSetOnTheServer) {
  auto sink = platform::x11::X11KeySink::open();
  ASSERT_NE(sink, nullptr);
  const bool before = sink->numLockOn();
  EXPECT_EQ(NumLockLit(), before);
  sink->setNumLock(!before);
  EXPECT_EQ(sink->numLockOn(), !before);
  EXPECT_EQ(NumLockLit(), !before);
  Xdotool({"key", "Num_Lock"});
  EXPECT_EQ(sink->numLockOn(), before);
  sink->setNumLock(before);
  EXPECT_EQ(sink->numLockOn(), before);
}

TEST(X11KeySink, CharactersWithoutAnyKeysymAreRefused) {
  auto sink = platform::x11::X11KeySink::open();
  ASSERT_NE(sink, nullptr);
  for (char32_t c : {U'\t', U'\n', U'\x7f', U'\x85', char32_t(0xD800), char32_t(0x110000)})
    EXPECT_EQ(sink->keyForCharacter(c), platform::kNoKey) << unsigned(c);
  EXPECT_NE(sink->keyForCharacter(U'a'), platform::kNoKey);
  EXPECT_NE(sink->keyForCharacter(U'中'), platform::kNoKey);
}

TEST(X11KeySink, ACharacterOffTheLayoutWaitsForItsSpareKey) {
  auto sink = platform::x11::X11KeySink::open();
  ASSERT_NE(sink, nullptr);
  EXPECT_EQ(sink->prepareKey(sink->keyForCharacter(U'a')).count(), 0);
  std::uint16_t key = sink->keyForCharacter(U'中');
  const std::chrono::milliseconds settle = sink->prepareKey(key);
  ASSERT_GT(settle.count(), 0);
  // Once every spare key is taken, a character waits longer: until the borrowed keys may go back.
  std::chrono::milliseconds wait = settle;
  for (char32_t c = U'一'; wait == settle && c < U'一' + 256; ++c)
    wait = sink->prepareKey(key = sink->keyForCharacter(c));
  ASSERT_GT(wait, settle);
  std::this_thread::sleep_for(wait);
  EXPECT_EQ(sink->prepareKey(key), settle);  // the keys went back and one carries it now
  std::this_thread::sleep_for(settle);
  EXPECT_EQ(sink->prepareKey(key).count(), 0);
}

}  // namespace
