#include "store/compaction.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

#include "store/file_descriptor.h"
#include "store/query.h"
#include "store/statements.h"
#include "store/store_error.h"
#include "store/temporary_files.h"
#include "store_test_support.h"
#include "tests/support/disk_faults.h"

namespace store {
namespace {

using disk_faults::ScopedTmpDir;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// Points TMPDIR somewhere for one test and puts it back afterwards.

TEST(TempDirectory, ComesFromTmpDirElseTmpWithATrailingSlash) {
  {
    ScopedTmpDir tmp("/var/spool");
    EXPECT_EQ(GetTempDirectory(), "/var/spool/");
  }
  {
    ScopedTmpDir tmp("/var/spool/");
    EXPECT_EQ(GetTempDirectory(), "/var/spool/");
  }
  {
    ScopedTmpDir tmp("");
    EXPECT_EQ(GetTempDirectory(), "/tmp/");
  }
}

TEST(CompactionConnectionString, FollowsTheServicesFormat) {
  EXPECT_EQ(CompactionConnectionString("/tmp/~ACP1", "pw"),
            "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/tmp/~ACP1;Jet OLEDB:Database Password=pw;");
}

class CompactionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::MakeProgramDatabase(folder_);
    Connection connection;
    connection.setConnectionString(BuildConnectionString(folder_.programFolder()));
    Query q(connection);
    // Big rows, most of them deleted again, leave free pages that compaction drops.
    const std::string filler(2000, 'F');
    q.addSql("BEGIN");  // one commit instead of hundreds of synced ones
    q.execSql();
    for (int i = 0; i < kInserted; ++i) {
      q.clearSql();
      q.addSql(sql::InsertRecord({i % 10 == 0 ? "kept" : "dropped", "t" + std::to_string(i), "", "u", filler, "N"}));
      q.execSql();
    }
    q.clearSql();
    q.addSql("COMMIT");
    q.execSql();
    q.clearSql();
    q.addSql(sql::DeleteCategory("dropped"));
    q.execSql();
    q.clearSql();
    q.addSql("PRAGMA user_version = 42");
    q.execSql();
  }

  static constexpr int kInserted = 300;
  static constexpr int kKept = kInserted / 10;

  std::string database() const { return folder_.file("_.udb"); }

  // Every row of the three tables, as text, read with the program's own connection string.
  std::vector<std::vector<std::string>> content() {
    Connection connection;
    connection.setConnectionString(BuildConnectionString(folder_.programFolder()));
    Query q(connection);
    std::vector<std::vector<std::string>> all;
    for (const char* statement :
         {"Select * from data order by 编号", "Select * from Pass", "Select * from EnCrypt", "PRAGMA user_version"}) {
      q.clearSql();
      q.addSql(statement);
      q.open();
      for (const auto& row : q.rows()) all.push_back(row);
    }
    return all;
  }

  TempFolder folder_;
  TempFolder tmp_;
  ScopedTmpDir tmpDir_{tmp_.path().string()};
};

TEST_F(CompactionTest, CompactsTwiceKeepingKeyRowsAndSchemaVersion) {
  const auto before = content();
  ASSERT_EQ(before.size(), kKept + 1u + 1u + 1u);
  const auto sizeBefore = std::filesystem::file_size(database());

  ASSERT_TRUE(CompactDatabaseFile(database(), kDatabasePassword));
  EXPECT_EQ(content(), before);
  EXPECT_LT(std::filesystem::file_size(database()), sizeBefore) << "free pages were dropped";
  EXPECT_TRUE(tmp_.entries().empty()) << "the temporary copy is removed";
  EXPECT_EQ(folder_.entries(), (std::vector<std::string>{".keyhaven.lock", "_.udb"}));

  ASSERT_TRUE(CompactDatabaseFile(database(), kDatabasePassword));
  EXPECT_EQ(content(), before);
  EXPECT_TRUE(tmp_.entries().empty());
}

TEST_F(CompactionTest, NumbersOfDeletedRecordsAreNotHandedOutAgain) {
  ASSERT_TRUE(CompactDatabaseFile(database(), kDatabasePassword));
  Connection connection;
  connection.setConnectionString(BuildConnectionString(folder_.programFolder()));
  Query q(connection);
  q.addSql("Select max(编号) from data");
  q.open();
  const long highest = std::stol(q.field(0));
  q.clearSql();
  q.addSql("Select seq from sqlite_sequence where name='data'");
  q.open();
  EXPECT_EQ(std::stol(q.field(0)), kInserted);
  EXPECT_LT(highest, kInserted) << "the last records were deleted";
}

TEST_F(CompactionTest, TheCompactedFileIsTheUsersAloneAndFollowsALink) {
  ASSERT_EQ(::chmod(database().c_str(), 0644), 0);
  const std::string link = folder_.file("link.udb");
  std::filesystem::create_symlink(database(), link);
  ASSERT_TRUE(CompactDatabaseFile(link, kDatabasePassword));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(std::filesystem::status(database()).permissions() & std::filesystem::perms::mask,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(CompactionTest, LeftoversOfKilledWritersAreRemovedFromTheFolderSwept) {
  std::vector<std::string> kept = {"~ACPheld01",  "~ACPheld01-journal", "~ACPshort", "~ACPab12CD.bak",
                                   "~ACPab12CDx", "~ACP-journal",       "notes.txt", "~ACPlink00"};
  for (const std::string name : {"~ACPab12CD", "~ACPab12CD-journal", "~ACPzz99yy-journal"})
    WriteBytes(tmp_.file(name), "x");
  for (std::size_t i = 0; i + 1 < kept.size(); ++i) WriteBytes(tmp_.file(kept[i]), "x");
  std::filesystem::create_symlink(database(), tmp_.file("~ACPlink00"));
  if (::geteuid() == 0) {  // only root can give a file to another user
    WriteBytes(tmp_.file("~ACPnobody"), "x");
    ASSERT_EQ(::chown(tmp_.file("~ACPnobody").c_str(), 65534, 65534), 0);
    kept.push_back("~ACPnobody");
  }
  // A compaction still running holds the lock on its copy.
  const int running = ::open(tmp_.file("~ACPheld01").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(running, LOCK_EX), 0);

  RemoveCompactionLeftovers();
  ::close(running);
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(tmp_.entries(), kept);
  EXPECT_TRUE(std::filesystem::exists(database())) << "nothing is removed through a link";

  // Beside the database: the copies, rewritten and new files and exports, each swept the same way.
  std::vector<std::string> besideKept = folder_.entries();
  for (const std::string name :
       {".~copy-ab12CD", ".~rekey-Zz09aB", ".~rekey-Zz09aB-journal", ".~newdb-zz99yy-journal", ".~export-000000"})
    WriteBytes(folder_.file(name), "x");
  for (const std::string name :
       {".~export-ab12C", ".~export-ab12CD.csv", ".~copyab12CD", "~ACPab12CD", ".~newdb-held01"}) {
    WriteBytes(folder_.file(name), "x");
    besideKept.push_back(name);
  }
  const FileDescriptor writing(::open(folder_.file(".~newdb-held01").c_str(), O_RDONLY | O_CLOEXEC));
  ASSERT_EQ(::flock(writing.get(), LOCK_EX), 0);
  RemoveLeftovers(folder_.path().string(), kBesideTargetPrefixes);
  std::sort(besideKept.begin(), besideKept.end());
  EXPECT_EQ(folder_.entries(), besideKept);
  EXPECT_EQ(tmp_.entries(), kept) << "only the folder named is swept";
}

TEST_F(CompactionTest, ASweepWhileACompactionRunsLeavesItsCopyAlone) {
  const auto before = content();
  std::atomic<bool> done = false;
  bool compacted = false;
  std::thread compaction([&] {
    compacted = CompactDatabaseFile(database(), kDatabasePassword);
    done = true;
  });
  int sweeps = 0;
  while (!done) {
    RemoveCompactionLeftovers();  // as another instance's start would, also where the copy comes back
    RemoveLeftovers(folder_.path().string(), kBesideTargetPrefixes);
    ++sweeps;
  }
  compaction.join();
  EXPECT_TRUE(compacted) << "after " << sweeps << " sweeps";
  EXPECT_EQ(content(), before);
  EXPECT_TRUE(tmp_.entries().empty());
}

TEST_F(CompactionTest, FailuresLeaveTheFileByteIdenticalAndOpenable) {
  const std::string original = ReadBytes(database());
  const auto rows = content();

  EXPECT_FALSE(CompactDatabaseFile(database(), "wrong password"));
  EXPECT_FALSE(CompactDatabaseFile(folder_.file("missing.udb"), kDatabasePassword));
  {
    // No temporary name can be had under a regular file.
    const std::string blocker = tmp_.file("blocker");
    WriteBytes(blocker, "x");
    ScopedTmpDir unusable(blocker);
    EXPECT_FALSE(CompactDatabaseFile(database(), kDatabasePassword));
    std::filesystem::remove(blocker);
  }
  EXPECT_EQ(ReadBytes(database()), original);
  EXPECT_EQ(content(), rows);
  EXPECT_TRUE(tmp_.entries().empty()) << "a failed compaction leaves no copy of the data behind";
  EXPECT_EQ(folder_.entries(), (std::vector<std::string>{".keyhaven.lock", "_.udb"}));
}

TEST_F(CompactionTest, AFileThatIsNoDatabaseIsLeftAlone) {
  const std::string garbage = folder_.file("garbage.udb");
  WriteBytes(garbage, std::string(8192, '\x5a'));
  EXPECT_FALSE(CompactDatabaseFile(garbage, kDatabasePassword));
  EXPECT_EQ(ReadBytes(garbage), std::string(8192, '\x5a'));
  EXPECT_TRUE(tmp_.entries().empty());
}

TEST_F(CompactionTest, TheServiceRefusesAnExistingTarget) {
  const std::string target = tmp_.file("taken");
  WriteBytes(target, "mine");
  EXPECT_THROW(CompactDatabase(CompactionConnectionString(database(), kDatabasePassword),
                               CompactionConnectionString(target, kDatabasePassword)),
               StoreError);
  EXPECT_EQ(ReadBytes(target), "mine");
}

TEST_F(CompactionTest, TheServiceWritesACopyUnderTheTargetsPassword) {
  const std::string target = tmp_.file("copy.udb");
  CompactDatabase(CompactionConnectionString(database(), kDatabasePassword),
                  CompactionConnectionString(target, "other"));
  Connection wrongKey;
  wrongKey.setConnectionString(CompactionConnectionString(target, kDatabasePassword));
  EXPECT_THROW(wrongKey.handle(), StoreError);
  Connection rightKey;
  rightKey.setConnectionString(CompactionConnectionString(target, "other"));
  Query q(rightKey);
  q.addSql("Select count(*) from data where 分类='kept'");
  q.open();
  EXPECT_EQ(q.field(0), std::to_string(kKept));
}

}  // namespace
}  // namespace store
