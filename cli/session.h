#pragma once
// A command's database: the data folder found as the window finds it (or the folder of --db),
// the folder's replacement lock held shared for the whole command, the file logged in to with
// the master password.
#include <QString>
#include <memory>

#include "store/replacement_lock.h"
#include "vault/vault.h"

namespace cli {

class TerminalInput;

// The folder (ending in '/') whose Config.ini and backups go with the file, and the file's name.
struct DatabaseLocation {
  QString folder;
  QString fileName;
};

// --db's file when given, else the program's data folder's _.udb.
DatabaseLocation LocateDatabase(const QString& databaseOption);

class Session {
 public:
  // Takes the lock and removes the temporaries that killed commands left in the folder, then
  // asks for the master password (one try) and logs in. Throws CliError.
  Session(const DatabaseLocation& location, TerminalInput& input);

  vault::Vault& vault() { return vault_; }
  const QString& folder() const { return folder_; }

 private:
  void logIn(const QString& typed);

  QString folder_;
  std::unique_ptr<store::ReplacementLock> lock_;  // released after the vault has closed the file
  vault::Vault vault_;
};

}  // namespace cli
