// The database layer when the file or the disk lets it down: every failure is an error with a
// readable text, and the file keeps its old content or holds the complete new one.
#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "store/backup.h"
#include "store/compaction.h"
#include "store/query.h"
#include "store/statements.h"
#include "store/store_error.h"
#include "store_test_support.h"
#include "tests/support/disk_faults.h"

namespace store {
namespace {

using disk_faults::ReadOnlyFile;
using disk_faults::ScopedTmpDir;
using disk_faults::SmallDisk;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// The user's line of an error: what happened, before the engine's own text.
std::string FirstLine(const std::string& error) { return error.substr(0, error.find('\n')); }

class StoreFaultTest : public ::testing::Test {
 protected:
  void SetUp() override { connectionString_ = testing::MakeProgramDatabase(folder_); }

  std::string database() const { return folder_.file(kDatabaseFileName); }

  void addRecord(Connection& connection, const std::string& title) {
    Query q(connection);
    q.addSql(sql::InsertRecord({"web", title, "http://", "me", "CIPHER", "NOTE"}));
    q.execSql();
  }

  std::size_t recordCount() {
    Connection connection;
    connection.setConnectionString(connectionString_);
    Query q(connection);
    q.addSql("Select count(*) from data");
    q.open();
    return std::stoul(q.field(0));
  }

  // The error text of a statement that must fail.
  std::string failure(Connection& connection, const std::string& statement, bool select) {
    Query q(connection);
    q.addSql(statement);
    try {
      select ? q.open() : static_cast<void>(q.execSql());
    } catch (const StoreError& error) {
      return error.what();
    }
    ADD_FAILURE() << statement << " succeeded";
    return {};
  }

  TempFolder folder_;
  std::string connectionString_;
};

TEST_F(StoreFaultTest, ReadOnlyFileRefusesChangesAndKeepsItsContent) {
  Connection connection;
  connection.setConnectionString(connectionString_);
  addRecord(connection, "before");
  connection.close();
  const std::string bytes = ReadBytes(database());

  ReadOnlyFile readOnly(database());
  if (!readOnly.holds()) GTEST_SKIP() << "no way to make a file read-only for root here";
  EXPECT_EQ(recordCount(), 1u) << "reading still works";
  const std::string error = failure(connection, sql::InsertRecord({"web", "t", "", "", "C", "N"}), false);
  EXPECT_NE(error.find("readonly"), std::string::npos) << error;
  EXPECT_EQ(FirstLine(error), "数据库文件\"" + database() + "\"是只读的, 无法写入.");
  EXPECT_TRUE(ReadBytes(database()) == bytes) << "the file changed";
}

TEST_F(StoreFaultTest, FileMadeReadOnlyWhileOpenSaysWhyTheWriteFailed) {
  Connection connection;
  connection.setConnectionString(connectionString_);
  addRecord(connection, "before");
  const std::string bytes = ReadBytes(database());
  ReadOnlyFile readOnly(database());
  if (!readOnly.holds() || ::geteuid() != 0)
    GTEST_SKIP() << "an open file stays writable without the immutable attribute";
  const std::string error = failure(connection, sql::InsertRecord({"web", "t", "", "", "C", "N"}), false);
  EXPECT_NE(error.find("Operation not permitted"), std::string::npos) << "not a bare I/O error: " << error;
  EXPECT_EQ(FirstLine(error), "数据库文件\"" + database() + "\"是只读的, 无法写入.");
  EXPECT_TRUE(ReadBytes(database()) == bytes) << "the file changed";
}

TEST_F(StoreFaultTest, FileLockedByAnotherWriterGivesAnErrorAndLaterWritesWork) {
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open_v2(database().c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  sqlite3_key(other, kDatabasePassword.data(), static_cast<int>(kDatabasePassword.size()));
  ASSERT_EQ(
      sqlite3_exec(other, "BEGIN IMMEDIATE; INSERT INTO data (分类) VALUES ('other');", nullptr, nullptr, nullptr),
      SQLITE_OK);

  Connection connection;
  connection.setConnectionString(connectionString_);
  const std::string error = failure(connection, sql::InsertRecord({"web", "mine", "", "", "C", "N"}), false);
  EXPECT_NE(error.find("locked"), std::string::npos) << error;
  EXPECT_EQ(FirstLine(error), "数据库文件\"" + database() + "\"正被另一个程序使用(已锁定), 请关闭该程序后再试.");

  ASSERT_EQ(sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);
  addRecord(connection, "mine");
  EXPECT_EQ(recordCount(), 1u) << "only the write that reported success is stored";
}

TEST_F(StoreFaultTest, TruncatedOrGarbageFileIsReportedAndLeftAlone) {
  {
    Connection connection;
    connection.setConnectionString(connectionString_);
    Query q(connection);
    q.addSql("BEGIN");
    q.execSql();
    for (int i = 0; i < 200; ++i) addRecord(connection, std::string(300, 'r'));
    q.clearSql();
    q.addSql("COMMIT");
    q.execSql();
  }
  const std::string whole = ReadBytes(database());
  ASSERT_GT(whole.size(), 16384u);

  const std::string garbage = [] {
    std::string bytes(8192, '\0');
    unsigned state = 12345;
    for (char& c : bytes) c = static_cast<char>((state = state * 1103515245 + 12345) >> 16);
    return bytes;
  }();
  for (const std::string& damaged : {whole.substr(0, whole.size() / 2), whole.substr(0, 100), garbage}) {
    SCOPED_TRACE(damaged.size());
    WriteBytes(database(), damaged);
    Connection connection;
    connection.setConnectionString(connectionString_);
    const std::string readError = failure(connection, "Select * from data", true);
    EXPECT_EQ(FirstLine(readError), "文件\"" + database() + "\"不是钥匣个人版的数据库, 或者已经损坏.") << readError;
    const std::string writeError = failure(connection, sql::InsertRecord({"web", "t", "", "", "C", "N"}), false);
    EXPECT_FALSE(writeError.empty());
    EXPECT_TRUE(ReadBytes(database()) == damaged) << "a damaged file is never written to";
    EXPECT_FALSE(std::filesystem::exists(database() + "-journal"));
  }
}

TEST_F(StoreFaultTest, DeletedFileIsReportedByNameAndNoLongerRead) {
  Connection connection;
  connection.setConnectionString(connectionString_);
  addRecord(connection, "kept");
  ASSERT_TRUE(std::filesystem::remove(database()));

  const std::string error = failure(connection, sql::InsertRecord({"web", "lost", "", "", "C", "N"}), false);
  EXPECT_EQ(FirstLine(error), "找不到数据库文件\"" + database() + "\".") << error;
  EXPECT_FALSE(connection.isOpen()) << "the connection to the vanished file is dropped";
  EXPECT_FALSE(std::filesystem::exists(database())) << "no empty file takes its place";
  EXPECT_FALSE(failure(connection, "Select * from data", true).empty());
}

TEST_F(StoreFaultTest, FileReplacedWhileOpenIsReadAfresh) {
  Connection connection;
  connection.setConnectionString(connectionString_);
  addRecord(connection, "old file");
  TempFolder other;
  testing::MakeProgramDatabase(other);
  std::filesystem::rename(other.file(kDatabaseFileName), database());

  addRecord(connection, "new file");
  Query q(connection);
  q.addSql("Select 标题 from data");
  q.open();
  ASSERT_EQ(q.recordCount(), 1);
  EXPECT_EQ(q.field(0), "new file") << "the write went to the file that is there now";
}

// Points TMPDIR somewhere for one scope.

// A database of about 100 KiB, so that no copy of it fits on a full disk.
void FillDatabase(const std::string& connectionString) {
  Connection connection;
  connection.setConnectionString(connectionString);
  Query q(connection);
  q.addSql("BEGIN");
  q.execSql();
  for (int i = 0; i < 100; ++i) {
    q.clearSql();
    q.addSql(sql::InsertRecord({"web", std::string(1000, 'c'), "", "me", "CIPHER", "NOTE"}));
    q.execSql();
  }
  q.clearSql();
  q.addSql("COMMIT");
  q.execSql();
}

bool LeftBehind(const TempFolder& folder, std::string_view prefix) {
  for (const auto& name : folder.entries())
    if (name.starts_with(prefix)) return true;
  return false;
}

TEST_F(StoreFaultTest, FullTemporaryDiskFailsCompactionAndKeepsTheFile) {
  FillDatabase(connectionString_);
  const std::string bytes = ReadBytes(database());
  TempFolder tmp;
  bool compacted = true;
  {
    SmallDisk disk(tmp.path().string(), 64 * 1024);
    ScopedTmpDir tmpDir(tmp.path().string());
    disk.fill();
    compacted = CompactDatabaseFile(database(), kDatabasePassword);
  }
  EXPECT_FALSE(compacted);
  EXPECT_TRUE(ReadBytes(database()) == bytes) << "the file changed";
  EXPECT_FALSE(LeftBehind(tmp, "~ACP")) << "the partial copy is removed";
  EXPECT_EQ(recordCount(), 100u);
}

// The program folder on a small disk that holds the database and little else.
class FullProgramDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    disk_.emplace(folder_.path().string(), 256 * 1024);
    connectionString_ = testing::MakeProgramDatabase(folder_);
    FillDatabase(connectionString_);
    bytes_ = ReadBytes(database());
    disk_->fill();
  }

  std::string database() const { return folder_.file(kDatabaseFileName); }

  TempFolder folder_;
  std::optional<SmallDisk> disk_;
  std::string connectionString_;
  std::string bytes_;
};

TEST_F(FullProgramDiskTest, AWriteThatDoesNotFitSaysTheDiskIsFull) {
  Connection connection;
  connection.setConnectionString(connectionString_);
  Query q(connection);
  q.addSql(sql::InsertRecord({"web", std::string(300 * 1024, 'x'), "", "me", "CIPHER", "NOTE"}));
  try {
    q.execSql();
    ADD_FAILURE() << "a record larger than the disk was stored";
  } catch (const StoreError& error) {
    EXPECT_EQ(FirstLine(error.what()), "磁盘空间已满, 无法写入数据库文件\"" + database() + "\".") << error.what();
  }
}

TEST_F(FullProgramDiskTest, CompactionThatCannotWriteBackKeepsTheFile) {
  TempFolder tmp;
  ScopedTmpDir tmpDir(tmp.path().string());
  EXPECT_FALSE(CompactDatabaseFile(database(), kDatabasePassword));
  EXPECT_TRUE(ReadBytes(database()) == bytes_) << "the file changed";
  EXPECT_FALSE(LeftBehind(folder_, ".~copy")) << "the partial copy is removed";
  EXPECT_FALSE(LeftBehind(tmp, "~ACP"));
}

TEST_F(FullProgramDiskTest, BackupThatDoesNotFitLeavesNoPartialCopy) {
  EXPECT_FALSE(TakeBackup(folder_.programFolder(), kPasswordBackupPrefix, "2024-01-02 03:04:05"));
  EXPECT_TRUE(ReadBytes(database()) == bytes_) << "the file changed";
  EXPECT_FALSE(LeftBehind(folder_, ".~copy"));
  EXPECT_FALSE(LeftBehind(folder_, std::string(kPasswordBackupPrefix))) << "no backup that looks whole but is not";
}

}  // namespace
}  // namespace store
