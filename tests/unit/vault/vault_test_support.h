#pragma once
// A vault on a fresh database file, as the program's first start leaves it.
#include <QString>

#include "crypto/protected_field.h"
#include "tests/unit/store/store_test_support.h"
#include "vault/vault.h"

namespace vault::testing {

// Makes _.udb in folder with the initial master password "123456" and opens it.
inline void OpenNewDatabase(Vault& vault, const store::testing::TempFolder& folder) {
  store::CreateDatabaseFile(folder.file(store::kDatabaseFileName), crypto::MasterPasswordCipher("123456"), false);
  vault.open(QString::fromStdString(folder.programFolder()));
}

}  // namespace vault::testing
