#include "store/query.h"

#include <gtest/gtest.h>

#include "store/statements.h"
#include "store/store_error.h"
#include "store_test_support.h"

namespace store {
namespace {

class QueryTest : public ::testing::Test {
 protected:
  void SetUp() override { connection_.setConnectionString(testing::MakeProgramDatabase(folder_)); }

  void run(const std::string& statement) {
    Query q(connection_);
    q.addSql(statement);
    q.execSql();
  }

  void addRecords(int count) {
    for (int i = 1; i <= count; ++i) run(sql::InsertRecord({"c", "title" + std::to_string(i), "", "u", "P", "N"}));
  }

  void openTitles() {
    query_.clearSql();
    query_.addSql("Select 编号, 标题 from data order by 编号");
    query_.open();
  }

  testing::TempFolder folder_;
  Connection connection_;
  Query query_{connection_};
};

TEST_F(QueryTest, EmptyResultHasNoCurrentRow) {
  openTitles();
  EXPECT_TRUE(query_.isOpen());
  EXPECT_EQ(query_.recordCount(), 0);
  EXPECT_EQ(query_.recNo(), 0);
  EXPECT_TRUE(query_.eof());
  EXPECT_TRUE(query_.bof());
  EXPECT_EQ(query_.fieldCount(), 2);
  EXPECT_EQ(query_.field("标题"), "");
  for (auto move : {&Query::next, &Query::prior, &Query::first, &Query::last}) {
    (query_.*move)();
    EXPECT_EQ(query_.recNo(), 0);
    EXPECT_TRUE(query_.eof());
    EXPECT_TRUE(query_.bof());
  }
  query_.moveBy(5);
  EXPECT_EQ(query_.recNo(), 0);
  EXPECT_THROW(query_.deleteCurrent(), StoreError);
}

TEST_F(QueryTest, OneRowIsBothFirstAndLast) {
  addRecords(1);
  openTitles();
  EXPECT_EQ(query_.recordCount(), 1);
  EXPECT_EQ(query_.recNo(), 1);
  EXPECT_TRUE(query_.bof());
  EXPECT_FALSE(query_.eof());
  query_.next();
  EXPECT_TRUE(query_.eof());
  EXPECT_EQ(query_.recNo(), 1);
  EXPECT_EQ(query_.field("标题"), "title1");
  query_.prior();
  EXPECT_FALSE(query_.eof());
  EXPECT_EQ(query_.recNo(), 1);
  query_.prior();
  EXPECT_TRUE(query_.bof());
  EXPECT_EQ(query_.recNo(), 1);
}

TEST_F(QueryTest, ManyRowsMoveAndStopAtTheEnds) {
  addRecords(5);
  openTitles();
  EXPECT_EQ(query_.recordCount(), 5);
  EXPECT_EQ(query_.recNo(), 1);
  EXPECT_EQ(query_.field(1), "title1");

  int visited = 0;
  for (query_.first(); !query_.eof(); query_.next()) {
    ++visited;
    EXPECT_EQ(query_.field("标题"), "title" + std::to_string(visited));
  }
  EXPECT_EQ(visited, 5);
  EXPECT_EQ(query_.recNo(), 5) << "next past the end stays on the last row";

  query_.first();
  query_.prior();
  EXPECT_TRUE(query_.bof());
  EXPECT_EQ(query_.recNo(), 1);

  query_.last();
  EXPECT_EQ(query_.recNo(), 5);
  EXPECT_TRUE(query_.eof());
  query_.prior();
  EXPECT_EQ(query_.recNo(), 4);
  EXPECT_FALSE(query_.eof());
  EXPECT_FALSE(query_.bof());

  query_.first();
  query_.moveBy(2);
  EXPECT_EQ(query_.recNo(), 3);
  query_.moveBy(-1);
  EXPECT_EQ(query_.recNo(), 2);
  query_.moveBy(100);
  EXPECT_EQ(query_.recNo(), 5);
  EXPECT_TRUE(query_.eof());
  query_.moveBy(-100);
  EXPECT_EQ(query_.recNo(), 1);
  EXPECT_TRUE(query_.bof());
  query_.moveBy(0);
  EXPECT_EQ(query_.recNo(), 1);

  query_.setCurrentIndex(3);
  EXPECT_EQ(query_.recNo(), 4);
  EXPECT_EQ(query_.currentIndex(), 3);
  query_.setCurrentIndex(42);
  EXPECT_EQ(query_.recNo(), 5);
}

TEST_F(QueryTest, FieldsReadAsTextByNameOrPosition) {
  run("Insert into data (分类,标题) values ('c','t')");
  query_.addSql(sql::SelectAll());
  query_.open();
  const std::vector<std::string> columns = {"编号", "分类", "网址", "标题", "帐号", "密码", "备注", "统计"};
  EXPECT_EQ(query_.fieldNames(), columns) << "Select * yields the columns in the grid's order";
  for (int i = 0; i < query_.fieldCount(); ++i) EXPECT_EQ(query_.fieldName(i), columns[static_cast<std::size_t>(i)]);
  EXPECT_FALSE(query_.field("编号").empty());
  EXPECT_EQ(query_.field(0), query_.field("编号"));
  EXPECT_EQ(query_.field("网址"), "") << "NULL reads as empty text";
  EXPECT_EQ(query_.field("统计"), "0");
  EXPECT_EQ(query_.field("no such column"), "");
  EXPECT_EQ(query_.field(-1), "");
  EXPECT_EQ(query_.field(8), "");
  EXPECT_EQ(query_.fieldName(8), "");
}

TEST_F(QueryTest, StatementTextIsItsLinesJoined) {
  query_.addSql("update data  set 分类='a' ");
  query_.addSql("where  分类='b' ");
  EXPECT_EQ(query_.sql(), "update data  set 分类='a' \nwhere  分类='b' ");
  query_.clearSql();
  EXPECT_EQ(query_.sql(), "");
}

TEST_F(QueryTest, ReplacingTheStatementClosesTheQuery) {
  addRecords(2);
  openTitles();
  ASSERT_TRUE(query_.isOpen());
  query_.addSql(" ");
  EXPECT_FALSE(query_.isOpen());
  EXPECT_EQ(query_.recordCount(), 0);
  openTitles();
  query_.clearSql();
  EXPECT_FALSE(query_.isOpen());
}

TEST_F(QueryTest, FailingStatementsThrowTheEnginesMessage) {
  query_.addSql("Select nothing from nowhere");
  try {
    query_.open();
    FAIL();
  } catch (const StoreError& error) {
    EXPECT_NE(std::string(error.what()).find("nowhere"), std::string::npos) << error.what();
  }
  EXPECT_FALSE(query_.isOpen());

  query_.clearSql();
  query_.addSql("update EnCrypt  set 序列号='1' ");
  EXPECT_THROW(query_.open(), StoreError) << "open needs a statement that returns rows";
  query_.clearSql();
  query_.addSql("");
  EXPECT_THROW(query_.execSql(), StoreError);
}

TEST_F(QueryTest, StackedStatementsAreRefusedAndNothingRuns) {
  addRecords(3);
  for (const std::string& stacked :
       {std::string("Select * from data; delete from data"), std::string("update data set 标题='x'; delete from data"),
        std::string("Select 1;;")}) {
    query_.clearSql();
    query_.addSql(stacked);
    EXPECT_THROW(query_.execSql(), StoreError) << stacked;
    EXPECT_THROW(query_.open(), StoreError) << stacked;
  }
  openTitles();
  EXPECT_EQ(query_.recordCount(), 3);
  EXPECT_EQ(query_.field("标题"), "title1");

  query_.clearSql();
  query_.addSql("Select 1;  \n");
  EXPECT_NO_THROW(query_.open()) << "one statement with its semicolon and blanks is fine";
}

TEST_F(QueryTest, ExecSqlCountsChangedRows) {
  addRecords(4);
  query_.addSql("update data  set 统计=统计+1 where  编号>2");
  EXPECT_EQ(query_.execSql(), 2);
  query_.clearSql();
  query_.addSql("update data  set 统计=5 where  编号=999");
  EXPECT_EQ(query_.execSql(), 0);
  query_.clearSql();
  query_.addSql("Select * from data");
  EXPECT_EQ(query_.execSql(), 0) << "a select changes nothing";
}

TEST_F(QueryTest, DeletingTheCurrentRowRemovesItFromFileAndRows) {
  addRecords(4);
  openTitles();
  query_.moveBy(1);
  const std::string doomed = query_.field("编号");
  query_.deleteCurrent();
  EXPECT_EQ(query_.recordCount(), 3);
  EXPECT_EQ(query_.recNo(), 2);
  EXPECT_EQ(query_.field("标题"), "title3") << "the following row becomes current";

  query_.last();
  query_.deleteCurrent();
  EXPECT_EQ(query_.recordCount(), 2);
  EXPECT_EQ(query_.recNo(), 2);
  EXPECT_EQ(query_.field("标题"), "title3") << "after the last row the new last becomes current";

  Query check(connection_);
  check.addSql("Select 标题 from data order by 编号");
  check.open();
  std::vector<std::string> left;
  for (; !check.eof(); check.next()) left.push_back(check.field(0));
  EXPECT_EQ(left, (std::vector<std::string>{"title1", "title3"}));
  check.clearSql();
  check.addSql("Select count(*) from data where 编号=" + doomed);
  check.open();
  EXPECT_EQ(check.field(0), "0");

  query_.deleteCurrent();
  query_.deleteCurrent();
  EXPECT_EQ(query_.recordCount(), 0);
  EXPECT_EQ(query_.recNo(), 0);
  EXPECT_TRUE(query_.eof());
  EXPECT_THROW(query_.deleteCurrent(), StoreError);
  query_.close();
  EXPECT_THROW(query_.deleteCurrent(), StoreError);
}

TEST_F(QueryTest, ObserverHearsEveryChange) {
  addRecords(3);
  int calls = 0;
  query_.setObserver([&] { ++calls; });
  openTitles();
  EXPECT_EQ(calls, 1);
  query_.next();
  query_.prior();
  query_.last();
  query_.first();
  query_.moveBy(2);
  query_.setCurrentIndex(0);
  EXPECT_EQ(calls, 7);
  query_.deleteCurrent();
  EXPECT_EQ(calls, 8);
  connection_.close();
  EXPECT_EQ(calls, 9) << "the grid learns that its rows are gone";
}

}  // namespace
}  // namespace store
