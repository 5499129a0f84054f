#include "store/connection.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "store/query.h"
#include "store/store_error.h"
#include "store_test_support.h"

namespace store {
namespace {

using testing::MakeProgramDatabase;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

TEST(ConnectionString, IsBuiltAsTheProgramBuildsItAndParsedBack) {
  const std::string text = BuildConnectionString("/opt/钥匣/");
  EXPECT_EQ(text,
            "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/opt/钥匣/_.udb;Persist Security Info=False;"
            "Jet OLEDB:Database Password=kv7Rq2mZx9Tb");
  const ConnectionString parts = ConnectionString::Parse(text);
  EXPECT_EQ(parts.dataSource, "/opt/钥匣/_.udb");
  EXPECT_EQ(parts.password, "kv7Rq2mZx9Tb");
}

TEST(ConnectionString, ParsesKeysInAnyCaseAndFoldersHoldingSeparators) {
  const ConnectionString trailing = ConnectionString::Parse(
      "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/tmp/~ACP1;Jet OLEDB:Database Password=pw;");
  EXPECT_EQ(trailing.dataSource, "/tmp/~ACP1");
  EXPECT_EQ(trailing.password, "pw");

  const ConnectionString lower = ConnectionString::Parse("data source=/a/b.udb; JET OLEDB:DATABASE PASSWORD=x");
  EXPECT_EQ(lower.dataSource, "/a/b.udb");
  EXPECT_EQ(lower.password, "x");

  // A folder may hold ';' and '=' on this platform; only a known key ends the value.
  const ConnectionString odd = ConnectionString::Parse(BuildConnectionString("/home/a;b=c;/"));
  EXPECT_EQ(odd.dataSource, "/home/a;b=c;/_.udb");
  EXPECT_EQ(odd.password, "kv7Rq2mZx9Tb");

  EXPECT_EQ(ConnectionString::Parse("").dataSource, "");
}

TEST(Connection, OpensOnDemandAndReopensAfterClose) {
  TempFolder folder;
  Connection connection;
  connection.setConnectionString(MakeProgramDatabase(folder));
  EXPECT_FALSE(connection.isOpen());
  EXPECT_EQ(connection.connectionString(), BuildConnectionString(folder.programFolder()));

  Query query(connection);
  query.addSql("Select 序列号 from EnCrypt");
  query.open();
  EXPECT_TRUE(connection.isOpen());
  EXPECT_EQ(query.field("序列号"), "0");

  connection.close();
  EXPECT_FALSE(connection.isOpen());
  EXPECT_FALSE(query.isOpen()) << "the queries close with their connection";
  EXPECT_EQ(query.recordCount(), 0);

  query.open();
  EXPECT_TRUE(connection.isOpen());
  EXPECT_EQ(query.field(0), "0");
}

TEST(Connection, WithoutAConnectionStringNothingOpens) {
  Connection connection;
  EXPECT_THROW(connection.handle(), StoreError);
  Query query(connection);
  query.addSql("Select 1");
  EXPECT_THROW(query.open(), StoreError);
  EXPECT_FALSE(query.isOpen());
}

TEST(Connection, MissingFileIsAnErrorAndIsNotCreated) {
  TempFolder folder;
  Connection connection;
  connection.setConnectionString(BuildConnectionString(folder.programFolder()));
  try {
    connection.handle();
    FAIL() << "a missing file opened";
  } catch (const StoreError& error) {
    EXPECT_NE(std::string(error.what()).find(folder.file("_.udb")), std::string::npos) << error.what();
  }
  EXPECT_FALSE(connection.isOpen());
  EXPECT_TRUE(folder.entries().empty()) << "nothing may be created while opening";
}

TEST(Connection, WrongPasswordOrForeignFileGivesAClearErrorAndLeavesTheFileAlone) {
  TempFolder folder;
  const std::string good = MakeProgramDatabase(folder);
  const std::string database = folder.file("_.udb");
  const std::string original = ReadBytes(database);

  const std::string garbage = folder.file("garbage.udb");
  WriteBytes(garbage, std::string(4096, 'x') + "not a database at all");
  const std::string garbageBytes = ReadBytes(garbage);
  const std::string empty = folder.file("empty.udb");
  WriteBytes(empty, "");

  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + database + ";Jet OLEDB:Database Password=wrong", database},
      {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + garbage + ";Jet OLEDB:Database Password=kv7Rq2mZx9Tb",
       garbage},
      {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + empty + ";Jet OLEDB:Database Password=kv7Rq2mZx9Tb", empty},
  };
  for (const auto& [text, file] : cases) {
    Connection connection;
    connection.setConnectionString(text);
    try {
      connection.handle();
      FAIL() << "opened " << file;
    } catch (const StoreError& error) {
      const std::string message = error.what();
      EXPECT_NE(message.find(file), std::string::npos) << message;
      EXPECT_NE(message.find("not a database"), std::string::npos) << message;
    }
    EXPECT_FALSE(connection.isOpen());
  }
  EXPECT_EQ(ReadBytes(database), original);
  EXPECT_EQ(ReadBytes(garbage), garbageBytes);
  EXPECT_EQ(std::filesystem::file_size(empty), 0u);

  Connection connection;
  connection.setConnectionString(good);
  EXPECT_NO_THROW(connection.handle()) << "the database itself still opens with its key";
}

TEST(Connection, ChangingTheStringClosesTheOldFile) {
  TempFolder first;
  TempFolder second;
  Connection connection;
  connection.setConnectionString(MakeProgramDatabase(first));
  Query query(connection);
  query.addSql("update EnCrypt  set 序列号='111' ");
  query.execSql();
  connection.setConnectionString(MakeProgramDatabase(second));
  EXPECT_FALSE(connection.isOpen());
  query.clearSql();
  query.addSql("Select 序列号 from EnCrypt");
  query.open();
  EXPECT_EQ(query.field(0), "0") << "the statement ran on the file of the new string";
}

}  // namespace
}  // namespace store
