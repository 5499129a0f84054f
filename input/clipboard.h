#pragma once
// The program's clipboard: copies of account names and passwords, and the clearing that takes
// them off again.
#include <QString>
#include <stdexcept>

namespace platform {
class ClipboardOwner;
}

namespace input {

class ClipboardError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TClipboard {
 public:
  // Opens the system clipboard, or counts one more level when it is already open.
  // Throws ClipboardError "Cannot open clipboard: ..." when there is no clipboard to open.
  void Open();
  // Ends one level; without a matching Open it does nothing.
  void Close();
  // Empties the clipboard (and the X11 selection) while it still holds what this program put
  // there; something copied elsewhere since stays.
  void Clear();

  // Puts a password or account name on the clipboard and the selection, marked as secret so
  // that clipboard managers keep it out of their history. An empty text changes nothing.
  void copySecret(const QString& text);
  // Puts an ordinary text (a web address) on the clipboard and the selection.
  void copyText(const QString& text);

  int openLevels() const { return FOpenRefCount; }
  // Whether the clipboard still holds this program's copy; it may learn so a moment after the copy.
  bool ownsClipboard() const;

  // Copies go to the desktop's own clipboard instead of the windows' (and nowhere else, so that the
  // compositor's bridge between the two has nothing to race); nullptr: the windows' one again.
  void useDesktopClipboard(platform::ClipboardOwner* desktop) { FDesktop = desktop; }

 private:
  void place(const QString& text, bool secret);

  int FOpenRefCount = 0;
  QString FPlacedText;  // the text of our last copy, until it is cleared
  platform::ClipboardOwner* FDesktop = nullptr;
};

// The one instance of the program, created on first use.
TClipboard& SharedClipboard();

}  // namespace input
