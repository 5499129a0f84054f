#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>
#include <optional>
#include <utility>

#include "platform/key_sink_route.h"
#include "platform/session_type.h"
#include "tests/fakes/fake_key_sink.h"

namespace {

using platform::FillReadiness;

TEST(KeySinkRoute, EachFillGoesToX11WhileAnXWindowHasTheFocusElseToTheFirstWaylandBackendOffered) {
  fakes::FakeKeySink x11, wlroots, portal;
  wlroots.readiness = FillReadiness::kUnavailable;
  portal.readiness = FillReadiness::kPrintableAsciiOnly;
  bool xFocused = false;
  platform::KeySinkRoute x11Session(false, x11, [] { return false; }, {&portal});
  platform::KeySinkRoute route(true, x11, [&xFocused] { return xFocused; }, {&wlroots, &portal});
  // Which sink gets the fill's key, and what the route says of it.
  const auto fill = [](platform::KeySinkRoute& chooser) {
    FillReadiness readiness = FillReadiness::kRefused;
    chooser.startFill([&readiness](FillReadiness answer) { readiness = answer; });
    chooser.keyDown('A', false);
    chooser.fillEnded();
    return readiness;
  };
  EXPECT_EQ(fill(x11Session), FillReadiness::kReady);
  EXPECT_EQ(fill(route), FillReadiness::kPrintableAsciiOnly);
  xFocused = true;
  EXPECT_EQ(fill(route), FillReadiness::kReady);
  xFocused = false;
  wlroots.readiness = FillReadiness::kReady;  // offered now
  EXPECT_EQ(fill(route), FillReadiness::kReady);
  wlroots.readiness = portal.readiness = FillReadiness::kUnavailable;
  EXPECT_EQ(fill(route), FillReadiness::kUnavailable);
  EXPECT_EQ(x11.events.size(), 2u);
  EXPECT_EQ(portal.events.size(), 1u);
  EXPECT_EQ(portal.fillsEnded, 1);
  EXPECT_EQ(wlroots.events.size(), 1u) << "the last fill's key went nowhere";

  // A backend that answers later (the desktop asks the user) is waited for before the next is tried.
  wlroots.answerLater = true;
  portal.readiness = FillReadiness::kReady;
  std::optional<FillReadiness> answered;
  route.startFill([&answered](FillReadiness readiness) { answered = readiness; });
  ASSERT_FALSE(answered.has_value());
  std::exchange(wlroots.pendingStart, nullptr)(FillReadiness::kUnavailable);
  EXPECT_EQ(answered, FillReadiness::kReady) << "then the next backend";

  route.closeSession();
  EXPECT_EQ(x11.sessionsClosed + wlroots.sessionsClosed + portal.sessionsClosed, 3);
}

TEST(KeySinkRoute, TheProgramsWindowsGoOnX11WhereverThereIsAnXDisplayUnlessTheUserChose) {
  const QByteArray display = qgetenv("DISPLAY");
  const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
  qunsetenv("QT_QPA_PLATFORM");
  qputenv("DISPLAY", ":7");
  platform::PreferX11Windows();
  EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "xcb");
  qputenv("QT_QPA_PLATFORM", "wayland");
  platform::PreferX11Windows();
  EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "wayland");
  qunsetenv("QT_QPA_PLATFORM");
  qunsetenv("DISPLAY");  // Wayland without XWayland
  platform::PreferX11Windows();
  EXPECT_TRUE(qgetenv("QT_QPA_PLATFORM").isEmpty());
  qputenv("DISPLAY", display);
  qputenv("QT_QPA_PLATFORM", chosen);
}

}  // namespace
