#include "app/program_windows.h"

namespace app {

ProgramWindows CreateProgramWindows(platform::Services& services, login::SessionKeys& keys,
                                    const QString& programFolder) {
  ProgramWindows windows;
  windows.main = std::make_unique<TForm1>(services, keys, programFolder);
  windows.created = windows.main->FormCreate();
  windows.login = std::make_unique<login::TForm2>(services, keys, *windows.main);
  windows.main->setLoginWindow(windows.login.get());
  return windows;
}

void DestroyProgramWindows(std::unique_ptr<TForm1>& main, std::unique_ptr<login::TForm2>& login) {
  main.reset();
  login.reset();
}

}  // namespace app
