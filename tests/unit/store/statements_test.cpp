#include "store/statements.h"

#include <gtest/gtest.h>

#include "store/store_error.h"

namespace store::sql {
namespace {

TEST(StatementTexts, MatchTheProgramsTextsBlanksIncluded) {
  EXPECT_EQ(SelectAll(), "Select * from data");
  EXPECT_EQ(SelectAllByUsage(), "Select 编号,分类,网址,标题,帐号,密码,备注 from data  order by 统计 desc");
  EXPECT_EQ(SelectCategoryByUsage("网站"),
            "Select  编号,分类,网址,标题,帐号,密码,备注  from data where 分类='网站'   order by 统计 desc");
  EXPECT_EQ(SelectAllUnordered(), "Select  编号,分类,网址,标题,帐号,密码,备注  from data");
  EXPECT_EQ(SelectLike("标题", "mail"),
            "Select  编号,分类,网址,标题,帐号,密码,备注  from data where 标题 like '%mail%' ");
  EXPECT_EQ(InsertRecord({"c", "t", "a", "u", "P1", "N1"}),
            "Insert into data (分类,标题,网址,帐号,密码,备注) values ('c','t','a','u','P1','N1')");
  EXPECT_EQ(InsertCategoryPlaceholder("新", "AB"),
            "Insert into data (分类,标题,网址,帐号,密码) values ('新','标题','http://','账号','AB')");
  EXPECT_EQ(DeleteCategory("旧"), "delete 分类  from data where 分类='旧' ");
  EXPECT_EQ(UpdateMasterPassword("CAFE"), "update Pass  set 密码='CAFE' ");
  EXPECT_EQ(CountUse("12"), "update data  set 统计=统计+1 where  编号=12");
  EXPECT_EQ(SelectMasterPassword(), "Select 密码 from Pass");
  EXPECT_EQ(SelectDatabaseKey(), "Select 序列号 from EnCrypt");
  EXPECT_EQ(UpdateDatabaseKey("4711"), "update EnCrypt  set 序列号='4711' ");
  EXPECT_EQ(RenameCategoryLines("新", "旧"),
            (std::vector<std::string>{"update data  set 分类='新' ", "where  分类='旧' "}));
}

TEST(StatementTexts, ModifyStatementHasItsSevenLines) {
  const std::vector<std::string> lines = UpdateRecordLines({"c", "t", "a", "u", "P1", "N1"}, "7");
  EXPECT_EQ(lines, (std::vector<std::string>{"update data  set 分类='c' ", ", 网址='a' ", ", 标题='t' ", ", 帐号='u' ",
                                             ", 密码='P1' ", ", 备注='N1' ", "where  编号=7"}));
}

TEST(StatementValues, QuotesAreDoubledInEveryValue) {
  EXPECT_EQ(Quote("O'Brien"), "O''Brien");
  EXPECT_EQ(Quote("''"), "''''");
  EXPECT_EQ(Quote(""), "");
  EXPECT_EQ(DeleteCategory("x' or '1'='1"), "delete 分类  from data where 分类='x'' or ''1''=''1' ");
  const std::vector<std::string> lines = UpdateRecordLines({"it's", "", "", "", "", ""}, "3");
  EXPECT_EQ(lines.front(), "update data  set 分类='it''s' ");
}

TEST(StatementValues, RecordNumberLetsOnlyDigitsThrough) {
  EXPECT_EQ(RecordNumber("0"), "0");
  EXPECT_EQ(RecordNumber("123456789012"), "123456789012");
  for (const char* bad : {"", " 1", "1 ", "1;drop table data", "1 or 1=1", "-1", "+1", "1.5", "１"}) {
    EXPECT_THROW(RecordNumber(bad), StoreError) << bad;
    EXPECT_THROW(CountUse(bad), StoreError) << bad;
    EXPECT_THROW(UpdateRecordLines({}, bad), StoreError) << bad;
  }
}

TEST(EngineDialect, ColumnListBetweenDeleteAndFromIsDropped) {
  EXPECT_EQ(ToEngineDialect(DeleteCategory("旧")), "delete from data where 分类='旧' ");
  EXPECT_EQ(ToEngineDialect("DELETE 分类, 标题 FROM data where 分类='a'"), "DELETE FROM data where 分类='a'");
  EXPECT_EQ(ToEngineDialect("  Delete * From data"), "  Delete From data");
  EXPECT_EQ(ToEngineDialect("delete\n分类\nfrom data"), "delete from data");
}

TEST(EngineDialect, OtherStatementsComeBackUnchanged) {
  for (const std::string& statement :
       {std::string("delete from data where 分类='a' "), SelectAllByUsage(), SelectCategoryByUsage("delete x from"),
        UpdateMasterPassword("delete a from b"), std::string("deleted 分类 from data"),
        std::string("Select 1 -- delete 分类 from data"), std::string("")}) {
    EXPECT_EQ(ToEngineDialect(statement), statement);
  }
}

TEST(EngineDialect, QuotedTextIsNotTakenForKeywords) {
  // The "from" inside the literal and inside the quoted column name is not the keyword.
  EXPECT_EQ(ToEngineDialect("delete 分类 from data where 分类='a from b' "), "delete from data where 分类='a from b' ");
  EXPECT_EQ(ToEngineDialect("delete \"x from\" from data"), "delete from data");
  EXPECT_EQ(ToEngineDialect("delete [from] from data"), "delete from data");
  // A value that tries to look like the statement's end stays inside its literal.
  const std::string tricky = DeleteCategory("' from data where '1'='1");
  EXPECT_EQ(ToEngineDialect(tricky), "delete from data where 分类=''' from data where ''1''=''1' ");
}

}  // namespace
}  // namespace store::sql
