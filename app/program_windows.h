#pragma once
// The program's two windows, made as the program starts: the main window first (its creation
// steps run), then the login window. Shared by main(), the GUI tests and the benchmark.
#include <QString>
#include <memory>

#include "app/tform1.h"
#include "login/session_keys.h"
#include "login/tform2.h"
#include "platform/services.h"

namespace app {

struct ProgramWindows {
  std::unique_ptr<TForm1> main;
  std::unique_ptr<login::TForm2> login;
  bool created = false;  // FormCreate's result: false when the program is to end
};

ProgramWindows CreateProgramWindows(platform::Services& services, login::SessionKeys& keys,
                                    const QString& programFolder);

// Destroys the main window first: it releases the hot keys through the login window, which must
// still exist then.
void DestroyProgramWindows(std::unique_ptr<TForm1>& main, std::unique_ptr<login::TForm2>& login);

}  // namespace app
