// The protected file on real files: every file written is opened again from the password alone.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "crypto/protected_field.h"
#include "protected_file_support.h"
#include "store/backup.h"
#include "store/compaction.h"
#include "store/connection.h"
#include "store/database_file.h"
#include "store/protected_file.h"
#include "store/query.h"
#include "store/replacement_lock.h"
#include "store/statements.h"
#include "store/store_error.h"
#include "store_test_support.h"
#include "tests/support/disk_faults.h"

namespace store {
namespace {

using testing::DerivedKey;
using testing::KeyFromFile;
using testing::NewKey;
using testing::OpensFromPassword;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

constexpr std::string_view kMaster = "Secret42";

using Rows = std::vector<std::vector<std::string>>;

Rows Select(Connection& connection, const std::string& statement) {
  Query q(connection);
  q.addSql(statement);
  q.open();
  return q.rows();
}

// What a file holds: records, database key, Pass and schema version, read through `key` or,
// without one, the database password.
struct Content {
  Rows data, encrypt, pass, version;
};

Content Read(const std::string& path, const std::optional<FileKey>& key = std::nullopt) {
  Connection connection;
  connection.setConnectionString("Data Source=" + path +
                                 ";Jet OLEDB:Database Password=" + std::string(kDatabasePassword));
  connection.setFileKey(key);
  return {Select(connection, "Select * from data order by 编号"), Select(connection, sql::SelectDatabaseKey()),
          Select(connection, sql::SelectMasterPassword()), Select(connection, "PRAGMA user_version")};
}

// A fixed-key file with records of every kind the program stores, as the program makes it.
std::string MakeFixedKeyFile(const TempFolder& folder, int records = 3) {
  const std::string path = folder.file(kDatabaseFileName);
  CreateDatabaseFile(path, crypto::MasterPasswordCipher(kMaster), false);
  Connection connection;
  connection.setConnectionString(BuildConnectionString(folder.programFolder()));
  Query q(connection);
  for (int i = 0; i < records; ++i) {
    q.clearSql();
    q.addSql(sql::InsertRecord({"网站", "it's " + std::to_string(i), "http://a", "me", "0123ABCD", ""}));
    q.execSql();
  }
  q.clearSql();
  q.addSql(sql::UpdateDatabaseKey("12345678"));
  q.execSql();
  return path;
}

std::vector<std::string> TemporaryFiles(const TempFolder& folder) {
  std::vector<std::string> left;
  for (const std::string& name : folder.entries()) {
    // The folder's replacement lock file stays, empty, for the next replacement.
    if (name != kDatabaseFileName && name != kReplacementLockFileName && name.find("_bak_") == std::string::npos)
      left.push_back(name);
  }
  return left;
}

std::string HexToBytes(std::string_view hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
  return bytes;
}

TEST(ProtectedFile, OpensFromItsPasswordAloneAndEachHasItsOwnSalt) {
  TempFolder folder;
  const std::string first = folder.file("first.udb");
  const std::string second = folder.file("second.udb");
  const DerivedKey firstKey = NewKey(kMaster);
  CreateDatabaseFile(first, firstKey.fileKey(), false);
  CreateDatabaseFile(second, NewKey(kMaster).fileKey(), false);

  EXPECT_EQ(ClassifyDatabaseFile(first), DatabaseFileKind::kProtected);
  EXPECT_TRUE(OpensFromPassword(first, kMaster));
  EXPECT_FALSE(OpensFromPassword(first, "Secret43"));
  EXPECT_TRUE(OpensFromPassword(second, kMaster));
  EXPECT_EQ(ReadFileSalt(first), std::optional(firstKey.salt));
  EXPECT_NE(ReadBytes(first).substr(0, 16), ReadBytes(second).substr(0, 16));
  EXPECT_EQ(crypto::SaltParameterNumber(*ReadFileSalt(first)), crypto::kTestKeyParameters.number);

  const Content content = Read(first, KeyFromFile(first, kMaster).fileKey());
  EXPECT_EQ(content.pass, Rows{{std::string(kProtectedPassMarker)}});
  EXPECT_EQ(content.encrypt, Rows{{"0"}});
  EXPECT_THROW(Read(first), StoreError) << "the database password must not open it";

  // Cut short, the file is damaged for the right password too: that is no wrong password.
  WriteBytes(folder.file("cut.udb"), ReadBytes(first).substr(0, ReadBytes(first).size() - 1000));
  EXPECT_THROW(OpensFromPassword(folder.file("cut.udb"), kMaster), StoreError);
}

TEST(ProtectedFile, TellsFixedKeyProtectedAndDamagedFilesApart) {
  TempFolder folder;
  EXPECT_EQ(ClassifyDatabaseFile(MakeFixedKeyFile(folder)), DatabaseFileKind::kFixedKey);

  const std::string random = folder.file("random.udb");
  std::string noise(4096, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919 + 13) % 251);
  WriteBytes(random, noise);
  EXPECT_EQ(ClassifyDatabaseFile(random), DatabaseFileKind::kProtected);

  const std::string shortFile = folder.file("short.udb");
  WriteBytes(shortFile, noise.substr(0, 1023));
  EXPECT_EQ(ClassifyDatabaseFile(shortFile), DatabaseFileKind::kDamaged);

  const std::string plain = folder.file("plain.udb");
  WriteBytes(plain, std::string("SQLite format 3\0", 16) + noise);
  EXPECT_EQ(ClassifyDatabaseFile(plain), DatabaseFileKind::kDamaged);

  const std::string empty = folder.file("empty.udb");
  WriteBytes(empty, "");
  EXPECT_EQ(ClassifyDatabaseFile(empty), DatabaseFileKind::kDamaged);

  EXPECT_THROW(ClassifyDatabaseFile(folder.file("missing.udb")), StoreError);
}

TEST(ProtectedFile, ProtectingKeepsEveryRowAndLeavesNoFormOfTheMasterPassword) {
  TempFolder folder;
  const std::string path = MakeFixedKeyFile(folder);
  const Content before = Read(path);
  const DerivedKey key = NewKey(kMaster);

  ProtectDatabaseFile(path, key.fileKey());

  ASSERT_TRUE(OpensFromPassword(path, kMaster));
  const Content after = Read(path, KeyFromFile(path, kMaster).fileKey());
  EXPECT_EQ(after.data, before.data);
  EXPECT_EQ(after.encrypt, before.encrypt);
  EXPECT_EQ(after.version, before.version);
  EXPECT_EQ(after.pass, Rows{{std::string(kProtectedPassMarker)}});
  EXPECT_THROW(Read(path), StoreError);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_TRUE(TemporaryFiles(folder).empty());

  // Neither the stored cipher text nor its blocks appear anywhere in the file.
  const std::string cipherText = crypto::MasterPasswordCipher(kMaster);
  const std::string cipherBytes = HexToBytes(cipherText);
  const std::string bytes = ReadBytes(path);
  EXPECT_EQ(bytes.find(cipherText), std::string::npos);
  for (std::size_t at = 0; at + 8 <= bytes.size(); at += 8) {
    for (std::size_t block = 0; block + 8 <= cipherBytes.size(); block += 8)
      ASSERT_NE(bytes.compare(at, 8, cipherBytes, block, 8), 0) << "at " << at;
  }

  // And back: the fixed-key file holds the cipher text the caller gives.
  UnprotectDatabaseFile(path, KeyFromFile(path, kMaster).fileKey(), cipherText);
  const Content back = Read(path);
  EXPECT_EQ(back.data, before.data);
  EXPECT_EQ(back.encrypt, before.encrypt);
  EXPECT_EQ(back.version, before.version);
  EXPECT_EQ(back.pass, Rows{{cipherText}});
}

TEST(ProtectedFile, AConversionCutShortByAFullDiskLeavesTheFileAsItWas) {
  TempFolder folder;
  std::string bytes;
  bool threw = false;
  {
    disk_faults::SmallDisk disk(folder.path().string(), 256 * 1024);
    const std::string path = MakeFixedKeyFile(folder, 300);
    bytes = ReadBytes(path);
    disk.fill();
    try {
      ProtectDatabaseFile(path, NewKey(kMaster).fileKey());
    } catch (const StoreError&) {
      threw = true;
    }
    for (const std::string& name : TemporaryFiles(folder)) EXPECT_EQ(name, "filler") << "only the disk's filler stays";
    EXPECT_EQ(ReadBytes(path), bytes) << "the file changed";
    EXPECT_EQ(Read(path).data.size(), 300u);
  }
  EXPECT_TRUE(threw);
}

TEST(ProtectedFile, ARekeyedFileOpensFromTheNewPasswordOnly) {
  TempFolder folder;
  const std::string path = MakeFixedKeyFile(folder);
  const Content before = Read(path);
  ProtectDatabaseFile(path, NewKey(kMaster).fileKey());
  const DerivedKey next = NewKey("Other7");

  RekeyDatabaseFile(path, KeyFromFile(path, kMaster).fileKey(), next.fileKey());

  EXPECT_EQ(ReadFileSalt(path), std::optional(next.salt));
  EXPECT_FALSE(OpensFromPassword(path, kMaster));
  ASSERT_TRUE(OpensFromPassword(path, "Other7"));
  const Content after = Read(path, KeyFromFile(path, "Other7").fileKey());
  EXPECT_EQ(after.data, before.data);
  EXPECT_EQ(after.encrypt, before.encrypt);
  EXPECT_EQ(after.pass, Rows{{std::string(kProtectedPassMarker)}});
}

TEST(ProtectedFile, CompactionAndBackupsOpenFromThePassword) {
  TempFolder folder;
  const std::string path = MakeFixedKeyFile(folder);
  const Content before = Read(path);
  const DerivedKey key = NewKey(kMaster);
  ProtectDatabaseFile(path, key.fileKey());

  ASSERT_TRUE(CompactDatabaseFile(path, key.fileKey()));
  EXPECT_EQ(ReadFileSalt(path), std::optional(key.salt));
  ASSERT_TRUE(OpensFromPassword(path, kMaster));
  EXPECT_EQ(Read(path, KeyFromFile(path, kMaster).fileKey()).data, before.data);

  // A backup of a protected file is a protected file.
  ASSERT_TRUE(TakeBackup(folder.programFolder(), kPasswordBackupPrefix, "2024-01-23 09:05:07"));
  const std::string backup = BackupFileName(folder.programFolder(), kPasswordBackupPrefix, "2024-01-23 09:05:07");
  EXPECT_TRUE(OpensFromPassword(backup, kMaster));

  // An older fixed-key backup takes the main file's key and salt.
  const std::string older = folder.file("删除[网站]分类前备份_bak_20240101000000_.udb");
  CreateDatabaseFile(older, crypto::MasterPasswordCipher("Older1"), false);
  ProtectDatabaseFile(older, key.fileKey());
  EXPECT_EQ(ReadFileSalt(older), std::optional(key.salt));
  EXPECT_TRUE(OpensFromPassword(older, kMaster));
  EXPECT_EQ(Read(older, key.fileKey()).pass, Rows{{std::string(kProtectedPassMarker)}});
}

}  // namespace
}  // namespace store
