#pragma once
// The data folder as the window meets it: the decision lives in the core, the first start's
// message to the user here.
#include "vault/data_folder.h"

namespace platform {
class Dialogs;
}

using vault::ChooseProgramFolder;
using vault::CurrentProgramFolderLayout;
using vault::DataHome;
using vault::FirstStart;
using vault::FirstStartResult;
using vault::ProgramFolder;
using vault::ProgramFolderLayout;
using vault::ProvideInitialDatabase;

// ProvideInitialDatabase, telling the user about a new database and its initial master
// password, or why none could be made.
void ProvideInitialDatabase(const ProgramFolderLayout& layout, platform::Dialogs& dialogs);
