#pragma once
// A fresh account database in a temporary folder, opened as the program opens it, and CSV
// files written beside it.
#include <QString>
#include <fstream>
#include <string>

#include "crypto/protected_field.h"
#include "store/database_file.h"
#include "tests/unit/store/store_test_support.h"
#include "vault/vault.h"

namespace transfer::testing {

using store::testing::TempFolder;

inline QString DataFile(const char* name) { return QString(KEYHAVEN_TEST_DATA) + name; }

// A fresh database in an existing folder, opened as the program opens it.
class FreshVault {
 public:
  explicit FreshVault(const std::string& folder) : programFolder_(folder + "/") {
    store::CreateDatabaseFile(database(), crypto::MasterPasswordCipher("123456"), false);
    vault_.open(QString::fromStdString(programFolder_));
    vault_.loadDatabaseKey();
  }

  vault::Vault& vault() { return vault_; }
  std::string database() const { return programFolder_ + "_.udb"; }
  const std::string& programFolder() const { return programFolder_; }

 private:
  std::string programFolder_;
  vault::Vault vault_;
};

struct WithTempFolder {
  TempFolder folder_;
};

// A fresh database in a temporary folder of its own, with room for other files beside it.
// The folder is a base that is made before the database and removed after it.
class VaultFolder : private WithTempFolder, public FreshVault {
 public:
  VaultFolder() : FreshVault(folder_.path().string()) {}

  const TempFolder& folder() const { return folder_; }

  // Writes a file into the folder and gives its path.
  QString writeFile(const std::string& name, const std::string& bytes) const {
    const std::string path = folder_.file(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return QString::fromStdString(path);
  }
};

}  // namespace transfer::testing
