// The RemoteDesktop portal's key sink and the GlobalShortcuts portal's fill requests against a fake
// portal (fake_portal.py) on a private session bus whose configuration knows no services, so no
// real portal is ever started.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <optional>
#include <vector>

#include "input/hot_key_arming.h"
#include "input/send_keys.h"
#include "input/shortcut_fill.h"
#include "platform/dbus/portal_global_shortcuts.h"
#include "platform/dbus/portal_registration.h"
#include "platform/dbus/portal_remote_desktop.h"
#include "tests/fakes/fake_dialogs.h"

namespace {

using platform::FillReadiness;

// The sink's answer to a fill's start, once the desktop has given it.
FillReadiness StartFill(platform::KeySink& sink) {
  std::optional<FillReadiness> answer;
  sink.startFill([&answer](FillReadiness readiness) { answer = readiness; });
  EXPECT_TRUE(QTest::qWaitFor([&answer] { return answer.has_value(); }, 70000));
  return answer.value_or(FillReadiness::kUnavailable);
}

QString g_fakePortal;

class FakePortal {
 public:
  explicit FakePortal(const QStringList& arguments) {
    process_.start("/usr/bin/python3", QStringList{g_fakePortal, log_} + arguments);
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return QDBusConnection::sessionBus().interface()->isServiceRegistered("org.freedesktop.portal.Desktop"); },
        10000));
  }
  ~FakePortal() {
    process_.terminate();
    process_.waitForFinished();
  }
  FakePortal(const FakePortal&) = delete;
  FakePortal& operator=(const FakePortal&) = delete;

  // Made so far: the fake takes the calls of one connection in their order, so a call answered
  // means every call sent before it is in the log.
  std::vector<QJsonObject> calls(const QString& name) const {
    call("org.freedesktop.DBus.Peer", "Ping");
    QFile file(log_);
    std::vector<QJsonObject> found;
    if (!file.open(QIODevice::ReadOnly)) return found;
    while (!file.atEnd())
      if (QJsonObject call = QJsonDocument::fromJson(file.readLine()).object(); name.isNull() || call["call"] == name)
        found.push_back(call);
    return found;
  }
  // Each call's name in the order made, a shortcut's id after its signal's name.
  QStringList order() const {
    QStringList names;
    for (const QJsonObject& call : calls(QString()))
      names << (call["call"].toString() + " " + call["id"].toString()).trimmed();
    return names;
  }
  // A press of a bound shortcut, let go after releaseAfterMs (never when negative).
  void press(const QString& id, int releaseAfterMs) const {
    call("test.keyhaven.FakePortal", "Press", {id, releaseAfterMs});
  }
  // The user's answer to the question a Start asked, under --start-delay-ms -1.
  void consent() const { call("test.keyhaven.FakePortal", "Consent"); }
  // Each key's keysym, negated when let go.
  std::vector<int> keys() const {
    std::vector<int> sent;
    for (const QJsonObject& key : calls("Key")) sent.push_back(key["keysym"].toInt() * (key["state"].toInt() ? 1 : -1));
    return sent;
  }

 private:
  static void call(const QString& interface, const QString& method, const QVariantList& arguments = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall("org.freedesktop.portal.Desktop",
                                                          "/org/freedesktop/portal/desktop", interface, method);
    message.setArguments(arguments);
    EXPECT_EQ(QDBusConnection::sessionBus().call(message).type(), QDBusMessage::ReplyMessage) << method.toStdString();
  }

  QTemporaryDir dir_;
  QString log_ = dir_.filePath("calls");
  QProcess process_;
};

// The keys of a fill: Shift, Control, Alt and Super, left and right, let go around the typed ones.
std::vector<int> Fill(const std::vector<int>& typed) {
  const std::vector<int> released{-0xFFE1, -0xFFE2, -0xFFE3, -0xFFE4, -0xFFE9, -0xFFEA, -0xFFEB, -0xFFEC};
  std::vector<int> keys = released;
  for (int keysym : typed) keys.insert(keys.end(), {keysym, -keysym});
  keys.insert(keys.end(), released.begin(), released.end());
  return keys;
}

TEST(PortalRemoteDesktop, OneConsentPerUnlockTypesKeysymsAndHandsTheRestoreTokenToTheNextSession) {
  platform::dbus::PortalRemoteDesktop portal;
  QString kept = "token-0";  // from an earlier unlock
  int writes = 0;
  portal.setTokenStore({[&kept] { return kept; },
                        [&kept, &writes](const QString& token) {
                          kept = token;
                          ++writes;
                        }});
  EXPECT_EQ(StartFill(portal), FillReadiness::kUnavailable) << "no portal yet";
  const FakePortal fake({"--start-delay-ms", "300"});
  fakes::FakeDialogs dialogs;
  for (const QString value : {"aB", "~"}) {
    ASSERT_EQ(StartFill(portal), FillReadiness::kPrintableAsciiOnly);
    EXPECT_TRUE(input::SendKeys(portal, dialogs, input::EscapeForKeyLanguage(value), false));
    portal.fillEnded();
  }
  EXPECT_EQ(portal.keyForCharacter(U'é'), platform::kNoKey);
  EXPECT_TRUE(dialogs.asked.empty());
  EXPECT_EQ(fake.calls("Start").size(), 1u) << "one consent for both fills";
  std::vector<int> expected = Fill({'a', 'B'});
  const std::vector<int> second = Fill({'~'});
  expected.insert(expected.end(), second.begin(), second.end());
  ASSERT_TRUE(QTest::qWaitFor([&] { return fake.keys().size() >= expected.size(); }, 5000));
  EXPECT_EQ(fake.keys(), expected);
  for (const QJsonObject& key : fake.calls("Key"))
    EXPECT_FALSE(key["early"].toBool()) << "sent before the last was taken";
  EXPECT_EQ(fake.calls("SelectDevices").at(0)["options"].toObject(),
            QJsonObject({{"types", 1}, {"persist_mode", 2}, {"restore_token", "token-0"}}));
  EXPECT_EQ(kept.toStdString(), "token-1");

  portal.closeSession();  // a lock
  EXPECT_EQ(fake.calls("Close").size(), 1u);
  ASSERT_EQ(StartFill(portal), FillReadiness::kPrintableAsciiOnly);
  EXPECT_EQ(fake.calls("Start").size(), 2u);
  EXPECT_EQ(fake.calls("SelectDevices").at(1)["options"].toObject()["restore_token"].toString().toStdString(),
            "token-1");
  EXPECT_EQ(kept.toStdString(), "token-2");
  EXPECT_EQ(writes, 2) << "once per granted session";
}

TEST(PortalRemoteDesktop, TheWindowsThreadRunsWhileTheUserIsAskedAndALockThenRefusesTheFillOnce) {
  const FakePortal fake({"--start-delay-ms", "-1"});
  platform::dbus::PortalRemoteDesktop portal;
  std::vector<FillReadiness> answers;
  const auto start = [&] { portal.startFill([&answers](FillReadiness readiness) { answers.push_back(readiness); }); };
  // The user consents only from the window's own timer, which runs only while nothing blocks it.
  bool consenting = true;
  QTimer window;
  QObject::connect(&window, &QTimer::timeout, [&] {
    if (consenting) fake.consent();
  });
  window.start(10);
  start();
  EXPECT_TRUE(answers.empty()) << "startFill returned before the desktop answered";
  ASSERT_TRUE(QTest::qWaitFor([&] { return !answers.empty(); }, 10000));
  EXPECT_EQ(answers, std::vector<FillReadiness>{FillReadiness::kPrintableAsciiOnly});

  portal.closeSession();  // a lock
  consenting = false;
  start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return fake.calls("Start").size() == 2; }, 5000));
  start();                // a second fill while the user is asked
  portal.closeSession();  // a lock while the user is asked
  EXPECT_EQ(answers, std::vector<FillReadiness>(
                         {FillReadiness::kPrintableAsciiOnly, FillReadiness::kRefused, FillReadiness::kRefused}));
  EXPECT_EQ(fake.calls("Close").size(), 2u) << "the session asked for is closed at the lock";
  portal.keyDown(platform::kVkReturn, false);
  EXPECT_EQ(fake.calls("Key").size(), 8u) << "nothing sent after the lock, only the first fill's releases";

  fake.consent();  // too late: opens nothing, answers nothing
  consenting = true;
  start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return answers.size() == 4; }, 10000));
  EXPECT_EQ(answers.back(), FillReadiness::kPrintableAsciiOnly) << "the next fill asks again";
  EXPECT_EQ(fake.calls("Start").size(), 3u);
}

TEST(PortalRemoteDesktop, ARefusedConsentOpensNoSessionAndAFirstVersionPortalGetsNoPersistence) {
  const FakePortal fake({"--refuse", "--version", "1"});
  platform::dbus::PortalRemoteDesktop portal;
  EXPECT_EQ(StartFill(portal), FillReadiness::kRefused);
  portal.keyDown(platform::kVkReturn, false);
  EXPECT_TRUE(fake.calls("Key").empty());
  EXPECT_EQ(fake.calls("SelectDevices").at(0)["options"].toObject(), QJsonObject({{"types", 1}}));
  EXPECT_EQ(fake.calls("Close").size(), 1u) << "the refused session is closed";
  EXPECT_EQ(StartFill(portal), FillReadiness::kRefused);
  EXPECT_EQ(fake.calls("Start").size(), 2u) << "asked again at the next fill";
}

TEST(PortalGlobalShortcuts, BoundShortcutsFillOnlyWhileArmedAndOnlyOnceLetGoInTime) {
  const FakePortal fake({});
  platform::dbus::PortalRemoteDesktop keys;
  platform::dbus::PortalGlobalShortcuts shortcuts;
  input::HotKeyArming arming;
  input::ShortcutFill fill(shortcuts, arming, std::chrono::milliseconds(1000));
  fakes::FakeDialogs dialogs;
  QStringList said;
  QObject::connect(&fill, &input::ShortcutFill::released, [&](const QString& id) {
    ASSERT_EQ(StartFill(keys), FillReadiness::kPrintableAsciiOnly);
    input::SendKeys(keys, dialogs, id.left(1), false);
    keys.fillEnded();
  });
  QObject::connect(&fill, &input::ShortcutFill::disarmed, [&] { said << "disarmed"; });
  QObject::connect(&fill, &input::ShortcutFill::heldTooLong, [&] { said << "held too long"; });

  platform::dbus::RegisterWithPortals("test.keyhaven.App");  // as the program's start does
  shortcuts.bind({{"account", "输入帐号", "CTRL+ALT+1"}, {"password", "输入密码", ""}});
  ASSERT_TRUE(QTest::qWaitFor([&] { return fake.calls("BindShortcuts").size() == 1; }, 5000));
  EXPECT_EQ(fake.order(), QStringList({"Register", "CreateShortcutsSession", "BindShortcuts"}));
  EXPECT_EQ(fake.calls("Register").at(0)["app_id"], "test.keyhaven.App");
  const QJsonObject bound = fake.calls("BindShortcuts").at(0);
  EXPECT_EQ(bound["shortcuts"].toArray(),
            QJsonArray({QJsonArray({"account",
                                    QJsonObject({{"description", "输入帐号"}, {"preferred_trigger", "CTRL+ALT+1"}})}),
                        QJsonArray({"password", QJsonObject({{"description", "输入密码"}})})}));
  shortcuts.bind({});
  fake.press("password", 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !said.isEmpty(); }, 5000));
  EXPECT_EQ(said, QStringList({"disarmed"}));

  arming.arm();
  fake.press("account", 300);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !fake.calls("Key").empty(); }, 5000));
  const QStringList order = fake.order();
  const qsizetype released = order.indexOf("Deactivated account");
  EXPECT_TRUE(released >= 0 && released < order.indexOf("Key")) << "nothing typed before the release";
  ASSERT_TRUE(QTest::qWaitFor([&] { return fake.keys().size() == Fill({'a'}).size(); }, 5000));
  EXPECT_EQ(fake.keys(), Fill({'a'}));

  fake.press("password", -1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return said.size() == 2; }, 5000));
  EXPECT_EQ(said.last(), "held too long");
  EXPECT_EQ(fake.keys(), Fill({'a'})) << "a key held too long types nothing";
  EXPECT_EQ(fake.calls("CreateShortcutsSession").size(), 1u) << "bound once while unlocked";

  shortcuts.unbind();  // a lock
  ASSERT_TRUE(QTest::qWaitFor([&] { return !fake.calls("Close").empty(); }, 5000));
  EXPECT_EQ(fake.calls("Close").at(0)["session"], bound["session"]);
  shortcuts.bind({{"account", "输入帐号", "CTRL+ALT+1"}});  // the next unlock
  ASSERT_TRUE(QTest::qWaitFor([&] { return fake.calls("BindShortcuts").size() == 2; }, 5000));
  EXPECT_EQ(fake.calls("BindShortcuts").at(1)["session"], bound["session"]) << "the keys the user assigned stay";
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fputs("usage: platform_portal_remote_desktop_e2e <fake_portal.py>\n", stderr);
    return 2;
  }
  g_fakePortal = QString::fromLocal8Bit(argv[1]);
  return RUN_ALL_TESTS();
}
