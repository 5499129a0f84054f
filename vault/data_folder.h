#pragma once
// Where _.udb, Config.ini and the backups live, and the database an installed program starts with.
// The window and the command line find the data the same way.
#include <QString>

namespace vault {

// The folder that holds the data, ending in '/', and the database supplied with an installed
// program (empty when the program is portable).
struct ProgramFolderLayout {
  QString folder;
  QString suppliedDatabase;

  bool installed() const { return !suppliedDatabase.isEmpty(); }
};

// The one decision. A portable program keeps its data beside the executable. An installed one
// (the executable in a system program folder such as /usr/bin, /usr/local/bin or /opt/<name>/bin,
// in a folder it cannot write, or in an install prefix whose share/keyhaven/_.udb exists while no
// database lies beside it) keeps it in dataHome + "/keyhaven/". executableFolder may or may not
// end in '/'.
ProgramFolderLayout ChooseProgramFolder(const QString& executableFolder, bool executableFolderWritable,
                                        const QString& dataHome);

// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
QString DataHome();

// ChooseProgramFolder for the running executable.
ProgramFolderLayout CurrentProgramFolderLayout();

// The folder of CurrentProgramFolderLayout().
QString ProgramFolder();

// What the first start of an installed program did with the supplied database.
enum class FirstStart { NothingToDo, DatabaseCopied, CopyFailed };
struct FirstStartResult {
  FirstStart outcome;
  int error;  // the errno of a failed copy
};

// Copies the supplied database into the data folder when that folder has no database yet; an
// existing file is never replaced, and a failed copy leaves no partial _.udb behind.
FirstStartResult ProvideInitialDatabase(const ProgramFolderLayout& layout);

// What every program does first with a data folder's database, before it opens it: false, with
// nothing done, when folder + fileName is no file. Else the file is made its owner's alone (a copy
// the user made may be readable by everyone), and the temporary copies that killed programs left
// beside it and of compactions are removed.
bool PrepareDatabaseFile(const QString& folder, const QString& fileName);

}  // namespace vault
