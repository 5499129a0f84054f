#include <gtest/gtest.h>

#include "platform/key_sink_route.h"
#include "tests/fakes/fake_key_sink.h"

namespace {

using platform::FillReadiness;

TEST(KeySinkRoute, EachFillGoesToX11WhileAnXWindowHasTheFocusElseToTheFirstWaylandBackendOffered) {
  fakes::FakeKeySink x11, wlroots, portal;
  wlroots.readiness = FillReadiness::kUnavailable;
  portal.readiness = FillReadiness::kPrintableAsciiOnly;
  bool xFocused = false;
  const auto focus = [&xFocused] { return xFocused; };
  platform::KeySinkRoute x11Session(false, x11, focus, {&wlroots, &portal});
  EXPECT_EQ(x11Session.startFill(), FillReadiness::kReady);
  x11Session.keyDown('A', false);
  EXPECT_EQ(x11.events.size(), 1u);

  platform::KeySinkRoute route(true, x11, focus, {&wlroots, &portal});
  EXPECT_EQ(route.startFill(), FillReadiness::kPrintableAsciiOnly);
  route.keyDown('B', false);
  route.fillEnded();
  EXPECT_EQ(portal.events.size(), 1u);
  EXPECT_EQ(portal.fillsEnded, 1);
  xFocused = true;
  EXPECT_EQ(route.startFill(), FillReadiness::kReady);
  route.keyDown('C', false);
  EXPECT_EQ(x11.events.size(), 2u);
  xFocused = false;
  wlroots.readiness = FillReadiness::kReady;  // offered now
  EXPECT_EQ(route.startFill(), FillReadiness::kReady);
  route.keyDown('D', false);
  EXPECT_EQ(wlroots.events.size(), 1u);

  wlroots.readiness = portal.readiness = FillReadiness::kUnavailable;
  EXPECT_EQ(route.startFill(), FillReadiness::kUnavailable);
  route.keyDown('E', false);
  EXPECT_EQ(x11.events.size() + wlroots.events.size() + portal.events.size(), 4u) << "sent nowhere";
  route.closeSession();
  EXPECT_EQ(x11.sessionsClosed + wlroots.sessionsClosed + portal.sessionsClosed, 3);
}

}  // namespace
