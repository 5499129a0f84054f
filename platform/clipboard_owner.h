#pragma once
// A clipboard of the desktop's own, beside the one of the windows' platform: on Wayland the
// compositor hands the clipboard of XWayland windows to no native window, so the program's copies
// go straight onto the Wayland one.
#include <QString>

namespace platform {

class ClipboardOwner {
 public:
  virtual ~ClipboardOwner() = default;
  // Makes text the clipboard's content; a secret is marked so that clipboard managers keep it out
  // of their history.
  virtual void place(const QString& text, bool secret) = 0;
  // Empties the clipboard while it still holds the text placed last: a copy made since stays.
  virtual void clearOwn() = 0;
  // Whether the clipboard still holds the text placed last.
  virtual bool holdsOwn() const = 0;
};

}  // namespace platform
