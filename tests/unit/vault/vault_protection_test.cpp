// A protected file through the core: turned on, logged into, re-keyed, compacted, turned off.
#include <gtest/gtest.h>

#include <filesystem>

#include "crypto/protected_field.h"
#include "store/backup.h"
#include "store/protected_file.h"
#include "tests/unit/store/store_test_support.h"
#include "vault/master_password.h"
#include "vault/vault.h"

namespace {

using store::testing::TempFolder;

QString Folder(const TempFolder& folder) { return QString::fromStdString(folder.programFolder()); }

bool LogsIn(const TempFolder& folder, const QString& password) {
  vault::Vault vault;
  vault.open(Folder(folder), crypto::kTestKeyParameters);
  return vault.fileIsProtected() && vault.acceptLoginKey(vault.deriveLoginKey(password));
}

}  // namespace

TEST(VaultProtection, OpensChecksRekeysCompactsAndTurnsOffAProtectedFile) {
  TempFolder folder;
  const std::string file = folder.file(store::kDatabaseFileName);
  store::CreateDatabaseFile(file, crypto::MasterPasswordCipher("abc12345"), false);
  ASSERT_TRUE(store::TakeBackup(folder.programFolder(), store::kPasswordBackupPrefix, "2026-01-01 10:00:00"));
  {
    vault::Vault vault;
    vault.open(Folder(folder), crypto::kTestKeyParameters);
    EXPECT_FALSE(vault.fileIsProtected());
    vault.loadDatabaseKey();
    vault.addCategory("网站");
    vault.keepDesktopConsent("portal", "token-1");
    const std::string leftover = folder.file(".~copy-ab12CD");  // a backup's copy cut short by a kill
    std::filesystem::copy_file(file, leftover);
    vault::Vault::Protection done = vault.protectionWork("abc12345", true)();
    EXPECT_EQ(done.backupsProtected, 1);
    EXPECT_EQ(done.backupsFailed, 0);
    EXPECT_FALSE(std::filesystem::exists(leftover));
    vault.holdProtection(std::move(done));
    EXPECT_TRUE(vault.isProtected());
    EXPECT_TRUE(vault.fileIsProtected());
    EXPECT_EQ(vault.listByUsage(), 1) << "the open vault goes on with the new key";
  }
  const std::string backup =
      store::BackupFileName(folder.programFolder(), store::kPasswordBackupPrefix, "2026-01-01 10:00:00");
  EXPECT_EQ(store::ClassifyDatabaseFile(backup), store::DatabaseFileKind::kProtected);
  EXPECT_FALSE(LogsIn(folder, "wrong123"));

  vault::Vault vault;
  vault.open(Folder(folder), crypto::kTestKeyParameters);
  ASSERT_TRUE(vault.acceptLoginKey(vault.deriveLoginKey("abc12345")));
  vault.loadDatabaseKey();
  EXPECT_EQ(vault.storedMasterPassword().toStdString(), store::kProtectedPassMarker);
  EXPECT_FALSE(vault.acceptLoginKey(vault.deriveLoginKey("abc1234"))) << "after a lock, against the held key";
  EXPECT_TRUE(vault.acceptLoginKey(vault.deriveLoginKey("abc12345")));
  EXPECT_TRUE(vault.isMasterPassword("abc12345", QString()));
  EXPECT_FALSE(vault.isMasterPassword("abc123456", QString()));

  vault.changeMasterPassword("newpass99", "2026-01-02 10:00:00");
  EXPECT_EQ(vault.storedMasterPassword().toStdString(), store::kProtectedPassMarker);
  EXPECT_TRUE(vault.isMasterPassword("newpass99", QString()));
  EXPECT_TRUE(LogsIn(folder, "newpass99"));
  EXPECT_FALSE(LogsIn(folder, "abc12345"));
  const std::string changeBackup =
      store::BackupFileName(folder.programFolder(), store::kPasswordBackupPrefix, "2026-01-02 10:00:00");
  const auto oldSalt = store::ReadFileSalt(changeBackup);
  ASSERT_TRUE(oldSalt);
  const crypto::HeldKey oldKey = vault::KeyOfTypedMasterPassword("abc12345", *oldSalt, crypto::kTestKeyParameters);
  EXPECT_TRUE(store::OpensWithKey(changeBackup, {oldKey.bytes(), *oldSalt}))
      << "the backup opens with the old password";

  EXPECT_TRUE(vault.compact());
  EXPECT_TRUE(LogsIn(folder, "newpass99")) << "the compacted copy keeps the salt";
  EXPECT_EQ(vault.listByUsage(), 1);

  vault.unprotectFile("newpass99");
  EXPECT_FALSE(vault.isProtected());
  EXPECT_FALSE(vault.fileIsProtected());
  EXPECT_TRUE(vault::IsMasterPassword("newpass99", vault.storedMasterPassword()));
  EXPECT_EQ(vault.listByUsage(), 1);
  EXPECT_EQ(store::ClassifyDatabaseFile(backup), store::DatabaseFileKind::kProtected) << "backups stay protected";
  EXPECT_EQ(vault.desktopConsent("portal"), "token-1") << "every rewrite of the file carries the desktop's consent";
}
