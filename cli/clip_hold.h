#pragma once
// The clipboard held by a command in the foreground: the program's secret copy, taken off again
// after the configured seconds, at Ctrl+C, or as soon as another program's copy replaces it.
#include <QString>

namespace cli {

// Copies with the secret hint and keeps the clipboard until the time is up or the user
// interrupts; empties it on the way out if it still holds our copy. Needs a QGuiApplication.
void HoldOnClipboard(const QString& value, int seconds);

}  // namespace cli
