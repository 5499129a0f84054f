// Each statement of the catalogue run on a real database file.
#include <gtest/gtest.h>

#include "store/query.h"
#include "store/statements.h"
#include "store_test_support.h"

namespace store {
namespace {

class CatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override { connection_.setConnectionString(testing::MakeProgramDatabase(folder_)); }

  int exec(const std::vector<std::string>& lines) {
    Query q(connection_);
    for (const auto& line : lines) q.addSql(line);
    return q.execSql();
  }
  int exec(const std::string& statement) { return exec(std::vector<std::string>{statement}); }

  // The rows of a listing, each as its fields joined by '|'.
  std::vector<std::string> list(const std::string& statement) {
    Query q(connection_);
    q.addSql(statement);
    q.open();
    std::vector<std::string> rows;
    for (const auto& row : q.rows()) {
      std::string joined;
      for (std::size_t i = 0; i < row.size(); ++i) joined += (i ? "|" : "") + row[i];
      rows.push_back(joined);
    }
    return rows;
  }

  std::string single(const std::string& statement) {
    const auto rows = list(statement);
    return rows.empty() ? std::string("<no row>") : rows.front();
  }

  std::string add(const std::string& category, const std::string& title) {
    exec(sql::InsertRecord({category, title, "http://a", "acc", "PW", "NOTE"}));
    return single("Select max(编号) from data");
  }

  testing::TempFolder folder_;
  Connection connection_;
};

TEST_F(CatalogueTest, InsertGivesANewNumberAndACounterOfZero) {
  const std::string first = add("c", "one");
  const std::string second = add("c", "two");
  EXPECT_NE(first, second);
  EXPECT_EQ(list("Select 统计 from data"), (std::vector<std::string>{"0", "0"}));
  EXPECT_EQ(single("Select 分类,标题,网址,帐号,密码,备注 from data where 编号=" + second),
            "c|two|http://a|acc|PW|NOTE");

  exec(sql::InsertCategoryPlaceholder("新分类", "ABCD"));
  EXPECT_EQ(single("Select 分类,标题,网址,帐号,密码,备注,统计 from data where 分类='新分类'"),
            "新分类|标题|http://|账号|ABCD||0");
}

TEST_F(CatalogueTest, QuotesInValuesRoundTrip) {
  exec(sql::InsertRecord({"Irish", "O'Brien's page", "http://x/?q='1'", "o'brien", "P", "N"}));
  Query q(connection_);
  q.addSql(sql::SelectCategoryByUsage("Irish"));
  q.open();
  ASSERT_EQ(q.recordCount(), 1);
  EXPECT_EQ(q.field("标题"), "O'Brien's page");
  EXPECT_EQ(q.field("网址"), "http://x/?q='1'");
  EXPECT_EQ(q.field("帐号"), "o'brien");
  EXPECT_EQ(list(sql::SelectLike("标题", "O'Brien")).size(), 1u);

  exec(sql::RenameCategoryLines("Ir'ish", "Irish"));
  EXPECT_EQ(list(sql::SelectCategoryByUsage("Ir'ish")).size(), 1u);
}

TEST_F(CatalogueTest, InjectedQuotesChangeNothing) {
  add("a", "one");
  add("b", "two");
  const std::vector<std::string> before = list(sql::SelectAll());
  const std::string attack = "x' or '1'='1";

  EXPECT_TRUE(list(sql::SelectCategoryByUsage(attack)).empty());
  EXPECT_TRUE(list(sql::SelectLike("标题", attack)).empty());
  EXPECT_EQ(exec(sql::DeleteCategory(attack)), 0);
  EXPECT_EQ(exec(sql::RenameCategoryLines(attack, attack)), 0);
  EXPECT_EQ(list(sql::SelectAll()), before);
}

TEST_F(CatalogueTest, CountUseRaisesTheCounterAndListingsSortByIt) {
  const std::string rarely = add("c", "rarely");
  const std::string often = add("c", "often");
  add("d", "never");
  exec(sql::CountUse(often));
  exec(sql::CountUse(often));
  exec(sql::CountUse(often));
  exec(sql::CountUse(rarely));
  EXPECT_EQ(single("Select 统计 from data where 编号=" + often), "3");

  Query q(connection_);
  q.addSql(sql::SelectAllByUsage());
  q.open();
  std::vector<std::string> order;
  for (; !q.eof(); q.next()) order.push_back(q.field("标题"));
  EXPECT_EQ(order, (std::vector<std::string>{"often", "rarely", "never"}));

  q.clearSql();
  q.addSql(sql::SelectCategoryByUsage("c"));
  q.open();
  order.clear();
  for (; !q.eof(); q.next()) order.push_back(q.field("标题"));
  EXPECT_EQ(order, (std::vector<std::string>{"often", "rarely"}));
  EXPECT_EQ(q.fieldNames(), (std::vector<std::string>{"编号", "分类", "网址", "标题", "帐号", "密码", "备注"}));
}

TEST_F(CatalogueTest, CategoryDeleteRemovesWholeRowsOfThatCategoryOnly) {
  add("gone", "one");
  add("gone", "two");
  add("kept", "three");
  add("gone too", "four");
  EXPECT_EQ(exec(sql::DeleteCategory("gone")), 2);
  EXPECT_EQ(list("Select 分类, 标题 from data order by 编号"),
            (std::vector<std::string>{"kept|three", "gone too|four"}));
}

TEST_F(CatalogueTest, CategoriesCompareIgnoringCase) {
  add("Mail", "one");
  add("mail", "two");
  EXPECT_EQ(list(sql::SelectCategoryByUsage("MAIL")).size(), 2u);
  EXPECT_EQ(exec(sql::DeleteCategory("mAIL")), 2);
}

TEST_F(CatalogueTest, ModifyOverwritesTheRecordButKeepsItsCounter) {
  const std::string number = add("c", "old");
  add("c", "other");
  exec(sql::CountUse(number));
  exec(sql::UpdateRecordLines({"d", "new", "http://b", "acc2", "PW2", "NOTE2"}, number));
  EXPECT_EQ(single("Select 分类,网址,标题,帐号,密码,备注,统计 from data where 编号=" + number),
            "d|http://b|new|acc2|PW2|NOTE2|1");
  EXPECT_EQ(single("Select 标题 from data where 编号<>" + number), "other");
}

TEST_F(CatalogueTest, SearchFindsSubstringsInTheNamedColumn) {
  add("c", "my mailbox");
  add("c", "bank");
  EXPECT_EQ(list(sql::SelectLike("标题", "mail")).size(), 1u);
  EXPECT_EQ(list(sql::SelectLike("分类", "c")).size(), 2u);
  EXPECT_TRUE(list(sql::SelectLike("标题", "zzz")).empty());
}

TEST_F(CatalogueTest, OneRowTablesAreUpdatedWithoutAWhereClause) {
  EXPECT_EQ(single(sql::SelectMasterPassword()), std::string(testing::kSomeMasterCipher));
  EXPECT_EQ(exec(sql::UpdateMasterPassword("FEDCBA9876543210")), 1);
  EXPECT_EQ(single(sql::SelectMasterPassword()), "FEDCBA9876543210");

  EXPECT_EQ(single(sql::SelectDatabaseKey()), "0");
  EXPECT_EQ(exec(sql::UpdateDatabaseKey("12345678")), 1);
  EXPECT_EQ(single(sql::SelectDatabaseKey()), "12345678");
  EXPECT_EQ(list("Select count(*) from EnCrypt"), std::vector<std::string>{"1"});
}

}  // namespace
}  // namespace store
