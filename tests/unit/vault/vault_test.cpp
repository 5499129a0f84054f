// The record operations without any window, as later callers of the core use them.
#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>
#include <sys/stat.h>

#include <filesystem>

#include "crypto/protected_field.h"
#include "store/store_error.h"
#include "tests/unit/store/store_test_support.h"
#include "tests/unit/vault/vault_test_support.h"
#include "vault/categories.h"
#include "vault/data_folder.h"
#include "vault/master_password.h"
#include "vault/master_password_rules.h"
#include "vault/vault.h"

namespace {

using store::testing::TempFolder;

}  // namespace

TEST(Vault, KeepsRecordsWithoutAWindowAndDeletesOnlyAListedRecordByItsNumber) {
  TempFolder folder;
  vault::Vault vault;
  vault::testing::OpenNewDatabase(vault, folder);
  vault.loadDatabaseKey();
  EXPECT_TRUE(vault::IsMasterPassword("123456", vault.storedMasterPassword()));
  vault.addCategory("常用网站");
  vault.addRecord({QString(), "常用网站", "https://a.example/", "邮箱", "me", "pw'1", "备注 1"});
  ASSERT_EQ(vault.listByUsage(), 2);
  const int row = vault.listing().field(0, "标题") == "邮箱" ? 0 : 1;
  const vault::Record stored = vault.listedRecord(row);
  EXPECT_EQ(stored.title, "邮箱");
  EXPECT_EQ(stored.password, "pw'1");
  EXPECT_EQ(stored.note, "备注 1");
  EXPECT_EQ(vault.categoriesOfListing(), QStringList{"常用网站"});
  EXPECT_FALSE(vault.listing().isOpen());

  EXPECT_THROW(vault.deleteRecord(stored.number), store::StoreError) << "nothing is listed";
  vault.listByUsage();
  EXPECT_THROW(vault.deleteRecord("999"), store::StoreError);
  vault.deleteRecord(stored.number, 1 - row);  // a row that lists another record is no reason to delete it
  EXPECT_EQ(vault.listing().count(), 1) << "the listing keeps its other row";
  EXPECT_EQ(vault.listByUsage(), 1);
  EXPECT_EQ(vault.listing().field(0, "标题"), "标题") << "the placeholder stays";
}

TEST(Vault, ADeleteTheFileRefusesLeavesTheRowListed) {
  TempFolder folder;
  vault::Vault vault;
  vault::testing::OpenNewDatabase(vault, folder);
  vault.loadDatabaseKey();
  vault.addCategory("常用网站");
  ASSERT_EQ(vault.listByUsage(), 1);
  const QString number = QString::fromStdString(vault.listing().field(0, "编号"));
  sqlite3* other = nullptr;  // another program holds the file's write lock
  ASSERT_EQ(sqlite3_open(folder.file(store::kDatabaseFileName).c_str(), &other), SQLITE_OK);
  sqlite3_key(other, store::kDatabasePassword.data(), static_cast<int>(store::kDatabasePassword.size()));
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_THROW(vault.deleteRecord(number, 0), store::StoreError);
  EXPECT_EQ(vault.listing().rowCount(), 1) << "the grid still shows the row";
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  vault.deleteRecord(number, 0);
  EXPECT_EQ(vault.listing().rowCount(), 0);
}

TEST(Rules, MasterPasswordsAreAsciiLettersAndDigitsAndWeakWhenInitialOrShort) {
  for (const char32_t c : {U'0', U'9', U'A', U'Z', U'a', U'z'}) EXPECT_TRUE(vault::IsMasterPasswordCharacter(c));
  for (const char32_t c : {U'/', U':', U'@', U'[', U'`', U'{', U' ', U'\u00E9', U'\uFF10', U'\u5BC6'})
    EXPECT_FALSE(vault::IsMasterPasswordCharacter(c)) << static_cast<unsigned>(c);
  EXPECT_TRUE(vault::IsTypeableMasterPassword("Abc123"));
  for (const char* typed : {"", "abc 123", "abc\n", "caf\u00E9", "\u5BC6\u7801"})
    EXPECT_FALSE(vault::IsTypeableMasterPassword(typed)) << typed;
  for (const char* weak : {"123456", "", "Abc1234"}) EXPECT_TRUE(vault::IsWeakMasterPassword(weak)) << weak;
  for (const char* strong : {"Abc12345", "1234567890"}) EXPECT_FALSE(vault::IsWeakMasterPassword(strong)) << strong;
}

TEST(Rules, CategoriesAreOneRegardlessOfLetterCaseAndNewNamesHaveFourCharacters) {
  const QStringList pairs[] = {{"home", "HOME"},      {"Bank ÄÖ", "bank äö"},   {"ΣΟΦΙΑ", "σοφια"},
                               {"Straße", "STRASSE"}, {"常用网站", "常用网址"}, {"home", "home "}};
  for (const QStringList& pair : pairs)
    EXPECT_EQ(vault::SameCategory(pair[0], pair[1]),
              vault::CategoryIdentity(pair[0]) == vault::CategoryIdentity(pair[1]))
        << pair.join('|').toStdString();
  EXPECT_TRUE(vault::SameCategory("home", "HOME"));
  EXPECT_FALSE(vault::SameCategory("常用网站", "常用网址"));
  const QStringList listed{"常用网站", "home"};
  EXPECT_EQ(vault::FindCategory(listed, "HOME"), 1);
  EXPECT_EQ(vault::FindCategory(listed, "work"), -1);
  EXPECT_EQ(vault::NewCategoryNameProblem("abc", listed), "分类名称必须大于等于4个字符");
  EXPECT_EQ(vault::NewCategoryNameProblem("HoMe", listed), "该分类已经存在.");
  EXPECT_EQ(vault::NewCategoryNameProblem("银行账户", listed), QString());
}

TEST(Rules, OnlyAFileIsADatabaseToPrepareAndItIsKeptToItsOwner) {
  TempFolder folder;
  const QString programFolder = QString::fromStdString(folder.programFolder());
  EXPECT_FALSE(vault::PrepareDatabaseFile(programFolder, "_.udb"));
  std::filesystem::create_directory(folder.file("_.udb"));
  EXPECT_FALSE(vault::PrepareDatabaseFile(programFolder, "_.udb")) << "a folder of the name is no database";
  store::CreateDatabaseFile(folder.file("other.udb"), crypto::MasterPasswordCipher("123456"), false);
  ASSERT_EQ(::chmod(folder.file("other.udb").c_str(), 0644), 0);
  EXPECT_TRUE(vault::PrepareDatabaseFile(programFolder, "other.udb"));
  struct stat status {};
  ASSERT_EQ(::stat(folder.file("other.udb").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
}

TEST(Vault, GivesRecordsAsValuesBesideTheListingAndDeletesByNumberAlone) {
  TempFolder folder;
  vault::Vault vault;
  vault::testing::OpenNewDatabase(vault, folder);
  vault.loadDatabaseKey();
  vault.addCategory("常用网站");
  vault.addCategory("Work");
  vault.addCategory("WORK");
  vault.addRecord({QString(), "常用网站", "https://a.example/", "邮箱", "me", "pw1", "备注 甲"});
  vault.addRecord({QString(), "常用网站", "https://b.example/", "网盘", "you", "pw2", "乙"});
  ASSERT_EQ(vault.listByUsage(), 5);

  std::vector<std::string> titles;
  EXPECT_EQ(vault.visitByUsage([&](const vault::StoredRecord& r) { titles.emplace_back(r[vault::Field::kTitle]); }), 5);
  EXPECT_EQ(titles.size(), 5u);
  EXPECT_EQ(vault.visitByUsage([](const vault::StoredRecord&) {}, "常用网站"), 3);
  const std::vector<vault::Record> found = vault.recordsMatching(vault::Field::kTitle, "邮");
  ASSERT_EQ(found.size(), 1u);
  const auto mail = found.begin();
  EXPECT_EQ(mail->address, "https://a.example/");
  EXPECT_TRUE(mail->password.isEmpty() && mail->note.isEmpty()) << "a listing's values carry no secrets";
  const std::optional<vault::Record> whole = vault.record(mail->number);
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->password, "pw1");
  EXPECT_EQ(whole->note, "备注 甲");
  EXPECT_FALSE(vault.record("0" + mail->number)) << "digits name a record only as stored";
  EXPECT_FALSE(vault.record("邮箱"));

  EXPECT_EQ(vault.recordsMatching(vault::Field::kNote, "甲").at(0).title, "邮箱");
  EXPECT_EQ(vault.recordsMatching(vault::Field::kAddress, "b.ex").at(0).title, "网盘");
  const std::vector<vault::Vault::CategoryCount> categories = vault.categoryCounts();
  ASSERT_EQ(categories.size(), 2u) << "Work and WORK are one category";
  for (const auto& category : categories)
    EXPECT_EQ(category.records, category.name == "常用网站" ? 3 : 2) << category.name.toStdString();

  EXPECT_TRUE(vault.removeRecord(mail->number));
  EXPECT_FALSE(vault.removeRecord(mail->number));
  EXPECT_FALSE(vault.record(mail->number));
  ASSERT_EQ(vault.deletedRecords().size(), 1u);
  EXPECT_EQ(vault.deletedRecords().front().record.password, "pw1") << "kept among the deleted records";
  EXPECT_EQ(vault.listing().count(), 5) << "the listing is left as it was";
}
