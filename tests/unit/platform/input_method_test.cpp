#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/dbus/dbus_input_method.h"
#include "platform/dbus/ibus_input_method.h"

namespace {

using platform::InputMethodState;

TEST(DBusInputMethod, WithNoFrameworkAnsweringOnlyXModifiersTellsOfAnInputMethod) {
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name};
  QTemporaryDir config;
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/keyhaven-session-bus");
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  qputenv("DISPLAY", ":7");
  QCoreApplication app(argc, argv);
  // fcitx 4's own bus, left behind by a run that has ended.
  ASSERT_TRUE(QDir(config.path()).mkpath("fcitx/dbus"));
  QFile address(config.path() + "/fcitx/dbus/" + QString::fromLatin1(QDBusConnection::localMachineId()) + "-7");
  ASSERT_TRUE(address.open(QIODevice::WriteOnly));
  address.write(QByteArray("unix:path=/nonexistent/keyhaven-fcitx-bus") + '\0' + "\x01\x02\x03\x04");
  address.close();
  // And IBus's, from a daemon that has ended.
  qunsetenv("IBUS_ADDRESS");
  qunsetenv("WAYLAND_DISPLAY");
  ASSERT_TRUE(QDir(config.path()).mkpath("ibus/bus"));
  QFile ibusAddress(config.path() + "/ibus/bus/" + QString::fromLatin1(QDBusConnection::localMachineId()) + "-unix-7");
  ASSERT_TRUE(ibusAddress.open(QIODevice::WriteOnly));
  ibusAddress.write("IBUS_ADDRESS=unix:path=/nonexistent/keyhaven-ibus-bus\nIBUS_DAEMON_PID=1\n");
  ibusAddress.close();

  const auto inputMethod = platform::dbus::OpenInputMethod();
  const std::pair<const char*, InputMethodState> cases[] = {{"", InputMethodState::kOff},
                                                            {"@im=none", InputMethodState::kOff},
                                                            {"@im=ibus", InputMethodState::kUnswitchable},
                                                            {"@im=fcitx", InputMethodState::kUnswitchable}};
  for (const auto& [modifiers, expected] : cases) {
    qputenv("XMODIFIERS", modifiers);
    EXPECT_EQ(inputMethod->state(), expected) << modifiers;
    EXPECT_FALSE(inputMethod->switchToDirectInput()) << "nothing there to switch";
    EXPECT_TRUE(inputMethod->switchBack()) << "nothing switched, nothing to undo";
  }
}

TEST(IBusInputMethod, DirectEngineIsUsOnGnomeElseTheUsersKeyboardOfTheCurrentGroupElseTheirFirst) {
  using platform::KeyboardGroup;
  using platform::dbus::DirectEngine;
  const QStringList preload{"libpinyin", "xkb:de::deu", "xkb:us:dvorak:eng", "xkb:us::eng"};
  const KeyboardGroup dvorak{"us", "dvorak"};
  EXPECT_EQ(DirectEngine(true, preload, dvorak), "xkb:us::eng");
  EXPECT_EQ(DirectEngine(false, preload, dvorak), "xkb:us:dvorak:eng");
  EXPECT_EQ(DirectEngine(false, preload, KeyboardGroup{"us", ""}), "xkb:us::eng");
  EXPECT_EQ(DirectEngine(false, preload, KeyboardGroup{"fr", ""}), "xkb:de::deu");
  EXPECT_EQ(DirectEngine(false, preload, std::nullopt), "xkb:de::deu");
  EXPECT_EQ(DirectEngine(false, {"rime", "libpinyin"}, dvorak), "xkb:us::eng");
}

}  // namespace
