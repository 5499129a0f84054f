// What 修改, a rename and the deletes leave behind, and the restores that bring it back.
#include <gtest/gtest.h>

#include "store/record_history.h"
#include "tests/unit/store/store_test_support.h"
#include "tests/unit/vault/vault_test_support.h"
#include "vault/vault.h"

namespace {

using store::testing::TempFolder;

int Pragma(sqlite3* db, const char* pragma) {
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db, pragma, -1, &statement, nullptr);
  sqlite3_step(statement);
  const int value = sqlite3_column_int(statement, 0);
  sqlite3_finalize(statement);
  return value;
}

// The file as another program reads it.
sqlite3* OpenAside(const TempFolder& folder) {
  sqlite3* db = nullptr;
  sqlite3_open(folder.file(store::kDatabaseFileName).c_str(), &db);
  sqlite3_key(db, store::kDatabasePassword.data(), static_cast<int>(store::kDatabasePassword.size()));
  return db;
}

int FileVersion(const TempFolder& folder) {
  sqlite3* db = OpenAside(folder);
  const int version = Pragma(db, "PRAGMA user_version");
  sqlite3_close(db);
  return version;
}

}  // namespace

TEST(VaultHistory, ChangesAndDeletesKeepTheOldValuesAndRestoresBringThemBackExactly) {
  TempFolder folder;
  vault::Vault vault;
  vault::testing::OpenNewDatabase(vault, folder);
  vault.loadDatabaseKey();
  vault.addRecord({QString(), "网站", "https://a.example/", "邮箱", "me", "pw'1", "备注 1"});
  ASSERT_EQ(vault.listByUsage(), 1);
  vault::Record record = vault.listedRecord(0);
  vault.countUse(record.number);
  EXPECT_TRUE(vault.versionsOf(record.number).empty()) << "a pick keeps nothing";
  EXPECT_EQ(FileVersion(folder), store::kSchemaVersion) << "no table before the first write that keeps something";

  record.password = "pw2";
  ASSERT_EQ(vault.modifyRecord(record), 1);
  ASSERT_EQ(vault.versionsOf(record.number).size(), 1u);
  EXPECT_EQ(vault.versionsOf(record.number)[0].record.password, "pw'1");
  EXPECT_EQ(vault.versionsOf(record.number)[0].record.note, "备注 1");
  EXPECT_EQ(FileVersion(folder), store::kHistoryFileVersion);
  ASSERT_TRUE(vault.restoreVersion(vault.versionsOf(record.number)[0].id));
  vault.listByUsage();
  EXPECT_EQ(vault.listedRecord(0).password, "pw'1");
  EXPECT_EQ(vault.versionsOf(record.number)[0].record.password, "pw2") << "the restored-over values are kept too";

  vault.renameCategory("网站", "站点");
  EXPECT_EQ(vault.versionsOf(record.number)[0].record.category, "网站");
  vault.listByUsage();
  vault.deleteRecord(record.number);
  ASSERT_EQ(vault.deletedRecords().size(), 1u);
  const vault::KeptRecord deleted = vault.deletedRecords()[0];
  EXPECT_EQ(deleted.record.category, "站点");
  ASSERT_TRUE(vault.restoreDeleted(deleted.id));
  ASSERT_EQ(vault.listByUsage(), 1);
  EXPECT_EQ(vault.listedRecord(0).number, record.number) << "under its old number";
  EXPECT_EQ(vault.listedRecord(0).password, "pw'1");
  EXPECT_TRUE(vault.deletedRecords().empty());

  vault.setHistoryLimits({2, 30});
  vault.pruneHistory();
  EXPECT_EQ(vault.versionsOf(record.number).size(), 2u);
  vault.listByUsage();
  vault.deleteRecord(record.number);
  ASSERT_TRUE(vault.forgetDeleted(vault.deletedRecords()[0].id));
  EXPECT_TRUE(vault.deletedRecords().empty());
  EXPECT_TRUE(vault.versionsOf(record.number).empty()) << "永久删除 leaves no version";

  vault.addRecord({QString(), "旧分类", "", "c", "me", "pw3", "n3"});
  ASSERT_TRUE(vault.deleteCategory("旧分类", "2026-01-01 10:00:00"));
  ASSERT_EQ(vault.deletedRecords().size(), 1u);
  EXPECT_EQ(vault.deletedRecords()[0].record.password, "pw3") << "a category's delete keeps its records too";

  vault.setHistoryLimits({0, 0});
  vault.addRecord({QString(), "网站", "", "b", "me", "pw", ""});
  vault.listByUsage();
  vault::Record other = vault.listedRecord(0);
  other.password = "changed";
  vault.modifyRecord(other);
  vault.listByUsage();
  vault.deleteRecord(other.number);
  EXPECT_TRUE(vault.versionsOf(other.number).empty() && vault.deletedRecords().empty()) << "0 keeps nothing";
}

TEST(VaultHistory, TheDesktopsConsentIsWrittenOnlyWhenItChangesAndNoTableLowersTheVersion) {
  TempFolder folder;
  vault::Vault vault;
  vault::testing::OpenNewDatabase(vault, folder);
  vault.keepDesktopConsent("portal", "");
  EXPECT_EQ(FileVersion(folder), store::kSchemaVersion) << "nothing to remove makes no table";
  vault.keepDesktopConsent("portal", "token-1");
  EXPECT_EQ(FileVersion(folder), store::kDesktopConsentFileVersion);
  sqlite3* aside = OpenAside(folder);
  const int before = Pragma(aside, "PRAGMA data_version");
  vault.keepDesktopConsent("portal", "token-1");
  EXPECT_EQ(Pragma(aside, "PRAGMA data_version"), before) << "the same token is not written again";
  sqlite3_close(aside);

  vault.loadDatabaseKey();
  vault.addRecord({QString(), "网站", "", "a", "me", "pw", ""});
  vault.listByUsage();
  vault.deleteRecord(vault.listedRecord(0).number);
  EXPECT_EQ(FileVersion(folder), store::kDesktopConsentFileVersion) << "the history table came later";
  vault::Vault reopened;
  reopened.open(QString::fromStdString(folder.programFolder()));
  EXPECT_EQ(reopened.desktopConsent("portal"), "token-1");
  reopened.keepDesktopConsent("portal", "");
  EXPECT_TRUE(vault.desktopConsent("portal").isEmpty());
}
