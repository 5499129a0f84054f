#pragma once
// Typing a text into the focused window through the key language: most characters stand for
// themselves; + ^ % hold Shift, Ctrl, Alt; ( ) group; ~ is Enter; braces name keys ({TAB},
// {LEFT 3}) or escape the special characters ({+}, {{}, {}}).
#include <QString>
#include <chrono>
#include <stdexcept>

namespace platform {
class Dialogs;
class KeySink;
}  // namespace platform

namespace input {

// The repeat count of a brace group was not an integer; the text names the offending count.
class KeyCountError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Sends the keys of text to sink. Refusals are shown through dialogs with the caption "SendKeys".
// Returns false for an empty text or a brace group without its closing brace, true otherwise.
// A key that the user holds down pauses the typing; held past the wait of WaitForKeyRelease, the
// rest of the text is dropped and the result is false.
// With pumpKeyMessages the program's own windows handle each key as it is sent.
// Throws KeyCountError for a repeat count that is not an integer; modifiers are let go first.
bool SendKeys(platform::KeySink& sink, platform::Dialogs& dialogs, const QString& text, bool pumpKeyMessages);

// The text that SendKeys types literally: each of + ^ % ~ ( ) { } wrapped in braces.
QString EscapeForKeyLanguage(const QString& text);

// Waits, at most timeout, until the user holds no key, so that keys sent after a hot key are not
// combined with the user's Ctrl. True when every key is up.
bool WaitForKeyRelease(platform::KeySink& sink, std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

// False, after showing the refusal naming the first such character, when the sink cannot type
// every character of text; a value is typed whole or not at all.
bool CanTypeLiterally(platform::KeySink& sink, platform::Dialogs& dialogs, const QString& text);

}  // namespace input
