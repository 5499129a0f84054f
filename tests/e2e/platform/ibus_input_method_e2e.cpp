// The input method against a real ibus-daemon (run_with_ibus.sh): no fcitx on the session bus and
// XMODIFIERS naming IBus as GNOME sets it; the program finds IBus by its address file.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>

#include "platform/dbus/dbus_input_method.h"

namespace {

using platform::InputMethodState;

// IBus's own client: "address" and "engine" only read.
std::string IBus(const QString& command) {
  QProcess ibus;
  ibus.start("ibus", {command});
  ibus.waitForFinished(10000);
  return ibus.readAllStandardOutput().trimmed().toStdString();
}

// As the user picks an engine in IBus's panel; IBus answers once the engine runs.
void UserPicks(const QString& engine) {
  QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.IBus", "/org/freedesktop/IBus",
                                                     "org.freedesktop.IBus", "SetGlobalEngine");
  call << engine;
  const QDBusConnection bus = QDBusConnection::connectToBus(QString::fromStdString(IBus("address")), "test");
  ASSERT_EQ(bus.call(call, QDBus::Block, 20000).type(), QDBusMessage::ReplyMessage);
  ASSERT_EQ(IBus("engine"), engine.toStdString());
}

TEST(IBusInputMethod, PinyinGivesWayToTheUsersKeyboardEngineAndComesBackUnlessTheUserPickedAnother) {
  UserPicks("xkb:us::eng");  // its engine process starts before the fill's 0.5 s run
  UserPicks("libpinyin");
  std::optional<platform::KeyboardGroup> group = platform::KeyboardGroup{"us", ""};
  const auto inputMethod = platform::dbus::OpenInputMethod([&group] { return group; });
  ASSERT_EQ(inputMethod->state(), InputMethodState::kActive);
  ASSERT_TRUE(inputMethod->switchToDirectInput());
  EXPECT_EQ(IBus("engine"), "xkb:us::eng") << "confirmed before it returns";
  EXPECT_TRUE(inputMethod->switchBack());
  EXPECT_EQ(IBus("engine"), "libpinyin");

  group = platform::KeyboardGroup{"de", ""};
  ASSERT_EQ(inputMethod->state(), InputMethodState::kActive);
  ASSERT_TRUE(inputMethod->switchToDirectInput());
  EXPECT_EQ(IBus("engine"), "xkb:de::deu") << "the user's keyboard engine of the current group";
  UserPicks("xkb:us::eng");
  EXPECT_TRUE(inputMethod->switchBack());
  EXPECT_EQ(IBus("engine"), "xkb:us::eng") << "the user's pick stays";
  EXPECT_EQ(inputMethod->state(), InputMethodState::kOff) << "a keyboard engine types as it is";
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
