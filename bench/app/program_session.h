#pragma once
// The program's two windows over a database in a program folder, with every platform service
// replaced by a recording fake and the desktop moved into a temporary folder.
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/program_windows.h"
#include "crypto/key_derivation.h"
#include "platform/global_shortcuts.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_dialogs.h"
#include "tests/fakes/fake_hot_keys.h"
#include "tests/fakes/fake_input_method.h"
#include "tests/fakes/fake_key_sink.h"
#include "tests/fakes/fake_lock_signals.h"

class ProgramSession {
 public:
  // programFolder ends in '/' and holds _.udb; a protected file's key is derived with keyParameters.
  ProgramSession(QString programFolder, QString masterPassword,
                 crypto::KeyDerivationParameters keyParameters = crypto::kFileKeyParameters);
  ~ProgramSession();

  // Creates the windows as the program start does, runs the start-up check and logs in (waiting
  // for a protected file's key);
  // throws std::runtime_error when the main window does not come up.
  void start();
  // Closes nothing: the windows are destroyed as at the end of a test.
  void stop();

  app::TForm1& main() { return *main_; }
  // The main window's control with this object name; throws std::runtime_error when there is none.
  template <typename Control>
  Control& control(const char* name) {
    auto* found = main_->findChild<Control*>(name);
    if (!found) throw std::runtime_error(std::string("no control named ") + name);
    return *found;
  }
  // Scrolls the grid until the row (0-based) is in sight and paints it, as a user does before a click.
  void bringRowIntoView(int row);
  // Picks a grid row (0-based) as a click on it does.
  void pickRow(int row);

  fakes::FakeDialogs dialogs;

 private:
  QString folder_;
  QString master_;
  crypto::KeyDerivationParameters keyParameters_;
  QTemporaryDir desktop_;
  fakes::FakeShell shell_;
  fakes::FakeTaskbar taskbar_;
  fakes::FakeBeeper beeper_;
  fakes::FakeHotKeys hotKeys_;
  fakes::FakeKeySink keySink_;
  fakes::FakeInputMethod inputMethod_{keySink_.events};
  fakes::FakeLockSignals lockSignals_;
  platform::NoGlobalShortcuts globalShortcuts_;
  platform::Services services_{dialogs,  shell_,       taskbar_,     beeper_,         hotKeys_,
                               keySink_, inputMethod_, lockSignals_, globalShortcuts_};
  login::SessionKeys keys_;
  std::unique_ptr<app::TForm1> main_;
  std::unique_ptr<login::TForm2> login_;
};
