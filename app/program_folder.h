#pragma once
// The first start's message to the user; where the data folder is and whether a database is
// copied into it is decided in the core.
#include "vault/data_folder.h"

namespace platform {
class Dialogs;
}

namespace app {

// vault::ProvideInitialDatabase, telling the user about a new database and its initial master
// password, or why none could be made.
void ProvideInitialDatabase(const vault::ProgramFolderLayout& layout, platform::Dialogs& dialogs);

}  // namespace app
