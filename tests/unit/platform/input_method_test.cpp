#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/dbus/dbus_input_method.h"

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

}  // namespace
