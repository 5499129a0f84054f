#pragma once
// Records what the program puts on the desktop's own clipboard and its clearings.
#include <QStringList>

#include "platform/clipboard_owner.h"

namespace fakes {

class FakeClipboardOwner final : public platform::ClipboardOwner {
 public:
  void place(const QString& text, bool secret) override { calls << (secret ? "secret " : "text ") + text; }
  void clearOwn() override { calls << "clear"; }
  bool holdsOwn() const override { return holds; }

  QStringList calls;
  bool holds = true;
};

}  // namespace fakes
