#pragma once
// The operating-system services the windows use; real ones in the program, fakes in tests.
namespace platform {

class Dialogs;
class Shell;
class Taskbar;
class Beeper;
class HotKeys;
class KeySink;
class InputMethod;
class LockSignals;
class GlobalShortcuts;

struct Services {
  Dialogs& dialogs;
  Shell& shell;
  Taskbar& taskbar;
  Beeper& beeper;
  HotKeys& hotKeys;
  KeySink& keySink;
  InputMethod& inputMethod;
  LockSignals& lockSignals;
  GlobalShortcuts& globalShortcuts;
};

}  // namespace platform
