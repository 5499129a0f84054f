#pragma once
// How a fill ended: told in the status bar, and to `keyhaven --fill` as a word on the instance's
// socket (which carries ASCII only), so that the command can say it in the user's language.
#include <QString>
#include <optional>
#include <string>

namespace input {

enum class FillOutcome {
  kEntered,
  kNoRecord,            // no record picked
  kBusy,                // a fill runs and another waits
  kDesktopRefused,      // the user did not allow the desktop to take synthetic keys
  kNoDesktopInterface,  // nothing on this desktop takes them
  kKeysHeld,            // the user kept a key down
  kInputMethodComposes,
  kUntypable,  // a character no key can type
  kStopped,    // a lock came first
};

std::string FillOutcomeWord(FillOutcome outcome);
std::optional<FillOutcome> FillOutcomeOfWord(const std::string& word);
// What the user is told; empty for a value that was entered.
QString FillOutcomeText(FillOutcome outcome);

}  // namespace input
