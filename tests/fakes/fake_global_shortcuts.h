#pragma once
// Records what is bound and lets a test press and release a bound shortcut.
#include <functional>
#include <vector>

#include "platform/global_shortcuts.h"

namespace fakes {

class FakeGlobalShortcuts final : public platform::GlobalShortcuts {
 public:
  void bind(const std::vector<platform::GlobalShortcut>& shortcuts) override {
    if (bound.empty()) bound = shortcuts;
  }
  void unbind() override { bound.clear(); }

  void press(const QString& id) { emit activated(id); }
  void release(const QString& id) {
    emit deactivated(id);
    if (afterRelease) afterRelease();
  }

  std::vector<platform::GlobalShortcut> bound;
  std::function<void()> afterRelease;  // the harness waits here for the fill the release started
};

}  // namespace fakes
