#pragma once
// The input method of the focused window (pinyin, wubi …) turns synthetic keys into its own text,
// so a keystroke fill asks for it and types with it switched to direct input.
namespace platform {

enum class InputMethodState {
  kOff,           // none runs, or it passes keys through as they are
  kActive,        // it composes text from the keys and can be switched to direct input
  kUnswitchable,  // one is there, but does not answer or is not one we can switch
};

class InputMethod {
 public:
  virtual ~InputMethod() = default;

  virtual InputMethodState state() = 0;
  // From active to direct input; false when the framework refuses or does not answer.
  virtual bool switchToDirectInput() = 0;
  // Back to what switchToDirectInput found; false when that fails.
  virtual bool switchBack() = 0;
};

}  // namespace platform
