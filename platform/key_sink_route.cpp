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

void KeySinkRoute::startFill(std::function<void(FillReadiness)> ready) {
  chosen_ = &x11_;
  if (!waylandSession_ || x11WindowFocused_()) {
    x11_.startFill(std::move(ready));
    return;
  }
  tryWaylandBackend(0, std::move(ready));
}

void KeySinkRoute::tryWaylandBackend(std::size_t index, std::function<void(FillReadiness)> ready) {
  if (index == waylandBackends_.size()) {
    chosen_ = &none_;
    ready(FillReadiness::kUnavailable);
    return;
  }
  KeySink* backend = waylandBackends_[index];
  chosen_ = backend;
  backend->startFill([this, index, ready = std::move(ready)](FillReadiness readiness) mutable {
    if (readiness == FillReadiness::kUnavailable)
      tryWaylandBackend(index + 1, std::move(ready));
    else
      ready(readiness);
  });
}

void KeySinkRoute::closeSession() {
  x11_.closeSession();
  for (KeySink* backend : waylandBackends_) backend->closeSession();
}

}  // namespace platform
