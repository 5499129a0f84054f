// The window and keyhaven-cli working on one file at once: a short wait for each other's
// transactions, and no replacement of the file under a program that holds the folder's lock.
#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "store/compaction.h"
#include "store/query.h"
#include "store/replacement_lock.h"
#include "store/statements.h"
#include "store_test_support.h"

namespace store {
namespace {

using namespace std::chrono_literals;
using testing::TempFolder;

sqlite3* OpenOther(const std::string& file) {
  sqlite3* other = nullptr;
  EXPECT_EQ(sqlite3_open_v2(file.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  sqlite3_key(other, kDatabasePassword.data(), static_cast<int>(kDatabasePassword.size()));
  // The other program waits too: its commit may meet this side still reading the schema.
  sqlite3_busy_timeout(other, 5000);
  return other;
}

int Count(const std::string& connectionString, const std::string& title) {
  Connection connection;
  connection.setConnectionString(connectionString);
  Query query(connection);
  query.addSql("Select * from data where 标题='" + title + "'");
  query.open();
  return query.recordCount();
}

TEST(SharedUse, AWriteWaitsForAnotherProgramsShortTransaction) {
  TempFolder folder;
  const std::string connectionString = testing::MakeProgramDatabase(folder);
  sqlite3* other = OpenOther(folder.file(kDatabaseFileName));
  ASSERT_EQ(
      sqlite3_exec(other, "BEGIN IMMEDIATE; INSERT INTO data (标题) VALUES ('other');", nullptr, nullptr, nullptr),
      SQLITE_OK);
  std::thread commitSoon([other] {
    std::this_thread::sleep_for(300ms);
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
  });

  Connection connection;
  connection.setConnectionString(connectionString);
  Query insert(connection);
  insert.addSql(sql::InsertRecord({"web", "mine", "", "", "C", "N"}));
  EXPECT_NO_THROW(insert.execSql()) << "the write gave up instead of waiting";
  commitSoon.join();
  sqlite3_close(other);
  connection.close();
  EXPECT_EQ(Count(connectionString, "other"), 1);
  EXPECT_EQ(Count(connectionString, "mine"), 1);
}

TEST(SharedUse, ACompactionWaitsForAProgramHoldingTheLockAndLosesNothing) {
  TempFolder folder;
  const std::string connectionString = testing::MakeProgramDatabase(folder);
  const std::string database = folder.file(kDatabaseFileName);

  // The command line's side: the lock for its whole command, one connection kept open.
  auto lock = std::make_unique<ReplacementLock>(folder.programFolder(), ReplacementLock::Mode::kShared);
  sqlite3* cli = OpenOther(database);
  ASSERT_EQ(sqlite3_exec(cli, "Select count(*) from data", nullptr, nullptr, nullptr), SQLITE_OK);

  auto compaction = std::async(std::launch::async, [&] { return CompactDatabaseFile(database, kDatabasePassword); });
  EXPECT_EQ(compaction.wait_for(300ms), std::future_status::timeout) << "the file was replaced under the lock";
  ASSERT_EQ(sqlite3_exec(cli, "INSERT INTO data (标题) VALUES ('written by the cli')", nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(cli);
  lock.reset();

  EXPECT_TRUE(compaction.get());
  EXPECT_EQ(Count(connectionString, "written by the cli"), 1) << "the write went into the replaced file";
}

TEST(SharedUse, SharedHoldersCoexistAndKeepAReplacementOutUntilTheWaitEnds) {
  TempFolder folder;
  const ReplacementLock first(folder.programFolder(), ReplacementLock::Mode::kShared);
  EXPECT_NO_THROW(ReplacementLock(folder.programFolder(), ReplacementLock::Mode::kShared, 0ms));
  EXPECT_THROW(ReplacementLock(folder.path().string(), ReplacementLock::Mode::kExclusive, 100ms), FileBusyError);
  try {
    ReplacementLock(folder.programFolder(), ReplacementLock::Mode::kExclusive, 0ms);
  } catch (const FileBusyError& busy) {
    EXPECT_NE(std::string(busy.what()).find("请稍后再试"), std::string::npos) << busy.what();
  }
}

}  // namespace
}  // namespace store
