// Each format's header and how its rows become records, read from one export of each tool.
#include <gtest/gtest.h>

#include "tests/unit/transfer/transfer_test_support.h"
#include "transfer/csv_import.h"
#include "transfer/import_formats.h"

namespace transfer {
namespace {

using testing::DataFile;
using testing::VaultFolder;

std::optional<CsvFormat> FormatOf(const QString& headerLine) {
  const auto header = RecogniseHeader(headerLine.split(u','));
  return header ? std::optional(header->format) : std::nullopt;
}

void ExpectRecord(const vault::Record& r, const vault::Record& expected) {
  EXPECT_EQ(r.category, expected.category);
  EXPECT_EQ(r.title, expected.title);
  EXPECT_EQ(r.address, expected.address);
  EXPECT_EQ(r.account, expected.account);
  EXPECT_EQ(r.password, expected.password);
  EXPECT_EQ(r.note, expected.note);
}

TEST(ImportFormats, TellsEachHeaderByItsColumnNamesInAnyOrder) {
  EXPECT_EQ(FormatOf("Group,Title,Username,Password,URL,Notes"), CsvFormat::KeePassXc);
  EXPECT_EQ(FormatOf("Notes,URL,Password,Username,Title,Group,TOTP"), CsvFormat::KeePassXc);
  EXPECT_EQ(FormatOf("folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,login_password,"
                     "login_totp"),
            CsvFormat::Bitwarden);
  EXPECT_EQ(FormatOf("name,url,username,password,note"), CsvFormat::Chromium);
  EXPECT_EQ(FormatOf("name,url,username,password"), CsvFormat::Chromium);
  EXPECT_EQ(FormatOf("url,username,password,httpRealm,formActionOrigin,guid,timeCreated,timeLastUsed,"
                     "timePasswordChanged"),
            CsvFormat::Firefox);
  EXPECT_EQ(FormatOf("Title,Username,Password,URL"), std::nullopt);
  EXPECT_EQ(FormatName(CsvFormat::Chromium), "Chrome/Chromium");
}

TEST(ImportFormats, KeePassXcGroupsLoseTheirRootAndTotpJoinsTheNote) {
  VaultFolder folder;
  const ImportPlan plan = PlanImport(folder.vault(), DataFile("keepassxc_export.csv"));
  EXPECT_EQ(plan.format, CsvFormat::KeePassXc);
  ASSERT_EQ(plan.records.size(), 3u);
  ExpectRecord(plan.records[0],
               {{}, "导入", "https://mail.example.com/", "邮箱", "alice@example.com", "pa\"ss,1", "工作邮箱\n第二行"});
  ExpectRecord(plan.records[1], {{},
                                 "网站/论坛",
                                 "https://bbs.example.org/login",
                                 "bbs.example.org",
                                 "bob",
                                 "hunter2",
                                 "TOTP: otpauth://totp/bbs:bob?secret=JBSWY3DPEHPK3PXP&issuer=bbs"});
  ExpectRecord(plan.records[2], {{}, "work", "", "VPN", "carol", "", ""});
  EXPECT_EQ(plan.newCategories, (QStringList{"导入", "网站/论坛", "work"}));
}

TEST(ImportFormats, BitwardenTakesLoginsOnlyAndKeepsTotpAndCustomFieldsInTheNote) {
  VaultFolder folder;
  const ImportPlan plan = PlanImport(folder.vault(), DataFile("bitwarden_export.csv"));
  EXPECT_EQ(plan.format, CsvFormat::Bitwarden);
  EXPECT_EQ(plan.otherTypes, 2);
  ASSERT_EQ(plan.records.size(), 2u);
  ExpectRecord(plan.records[0], {{}, "Social", "https://twitter.com", "Twitter", "me@example.com", "tw1tter", ""});
  ExpectRecord(plan.records[1], {{},
                                 "导入",
                                 "https://bank.example.com/login",
                                 "bank.example.com",
                                 "me",
                                 "b@nk",
                                 "PIN hint\nTOTP: JBSWY3DPEHPK3PXP\nSecurity question: 小学名字\nPIN: 1234"});
}

TEST(ImportFormats, BrowserLoginsGoIntoOneCategoryTitledByNameElseHost) {
  VaultFolder folder;
  const ImportPlan chrome = PlanImport(folder.vault(), DataFile("chrome_passwords.csv"));
  EXPECT_EQ(chrome.format, CsvFormat::Chromium);
  ASSERT_EQ(chrome.records.size(), 2u);
  ExpectRecord(
      chrome.records[0],
      {{}, "浏览器导入", "https://accounts.google.com/signin", "accounts.google.com", "user@gmail.com", "g00gle", ""});
  ExpectRecord(chrome.records[1],
               {{}, "浏览器导入", "https://www.example.cn/login", "www.example.cn", "张三", "密码123", "工作用"});

  const ImportPlan firefox = PlanImport(folder.vault(), DataFile("firefox_logins.csv"));
  EXPECT_EQ(firefox.format, CsvFormat::Firefox);
  ASSERT_EQ(firefox.records.size(), 2u);
  ExpectRecord(firefox.records[0],
               {{}, "浏览器导入", "https://www.mozilla.org", "www.mozilla.org", "fox", "f1refox", ""});
  ExpectRecord(firefox.records[1],
               {{}, "浏览器导入", "https://addons.mozilla.org:443", "addons.mozilla.org", "", "", ""});
  EXPECT_EQ(firefox.newCategories, QStringList{"浏览器导入"});

  const QString noNote = folder.writeFile("chrome_old.csv", "name,url,username,password\n,,x,y\n");
  const ImportPlan old = PlanImport(folder.vault(), noNote);
  ASSERT_EQ(old.records.size(), 1u);
  ExpectRecord(old.records[0], {{}, "浏览器导入", "", "无标题", "x", "y", ""});
}

}  // namespace
}  // namespace transfer
