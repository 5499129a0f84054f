#include "platform/key_sink_route.h"

#include <utility>

namespace platform {

KeySinkRoute::KeySinkRoute(bool waylandSession, KeySink& x11, std::function<bool()> x11WindowFocused,
                           std::vector<KeySink*> waylandBackends)
    : waylandSession_(waylandSession),
      x11_(x11),
      x11WindowFocused_(std::move(x11WindowFocused)),
      waylandBackends_(std::move(waylandBackends)),
      chosen_(&x11_) {}

FillReadiness KeySinkRoute::startFill() {
  chosen_ = &x11_;
  if (!waylandSession_ || x11WindowFocused_()) return x11_.startFill();
  for (KeySink* backend : waylandBackends_) {
    const FillReadiness readiness = backend->startFill();
    if (readiness == FillReadiness::kUnavailable) continue;
    chosen_ = backend;
    return readiness;
  }
  chosen_ = &none_;
  return FillReadiness::kUnavailable;
}

void KeySinkRoute::closeSession() {
  x11_.closeSession();
  for (KeySink* backend : waylandBackends_) backend->closeSession();
}

}  // namespace platform
