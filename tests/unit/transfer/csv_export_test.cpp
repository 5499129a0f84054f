// The export as a file, and its round trip through an import into an empty database.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "tests/support/file_bytes.h"
#include "tests/unit/transfer/transfer_test_support.h"
#include "transfer/csv_export.h"
#include "transfer/csv_import.h"

namespace transfer {
namespace {

using testing::VaultFolder;

std::vector<QStringList> SixFieldsOf(std::vector<vault::Record> records) {
  std::vector<QStringList> fields;
  for (const vault::Record& r : records)
    fields.push_back({r.category, r.title, r.address, r.account, r.password, r.note});
  std::sort(fields.begin(), fields.end());
  return fields;
}

TEST(CsvExport, WritesAPrivateQuotedFileThatImportsIntoAnEmptyDatabaseWithoutLoss) {
  VaultFolder from;
  from.vault().addRecord({{}, "常用网站", "https://a.example/?q=1,2", "邮箱", "me", "p\"w,1", "第一行\n\"第二行\""});
  from.vault().addRecord({{}, "网站/论坛", "", "论坛", "", "", ""});
  from.vault().addRecord({{}, "Work", "http://work.example/", "VPN", "carol", "x'y", "TOTP: 123\r\nend"});
  const QString path = QString::fromStdString(from.folder().file("export.csv"));
  file_bytes::WriteBytes(path.toStdString(), "an older export");
  ::chmod(path.toStdString().c_str(), 0644);

  EXPECT_EQ(ExportCsv(from.vault(), path), 3);
  const std::string bytes = file_bytes::ReadBytes(path.toStdString());
  const std::string header =
      "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\",\"Icon\",\"Last Modified\","
      "\"Created\"\n";
  EXPECT_EQ(bytes.substr(0, header.size()), header) << "no byte-order mark, LF";
  EXPECT_NE(
      bytes.find(
          "\"Root/常用网站\",\"邮箱\",\"me\",\"p\"\"w,1\",\"https://a.example/?q=1,2\",\"第一行\n\"\"第二行\"\"\","
          "\"\",\"0\",\"\",\"\"\n"),
      std::string::npos)
      << bytes;
  struct stat info {};
  ASSERT_EQ(::stat(path.toStdString().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(from.folder().entries().size(), 2u) << "no temporary file stays beside the export";

  VaultFolder to;
  const ImportPlan plan = PlanImport(to.vault(), path);
  EXPECT_EQ(plan.format, CsvFormat::KeePassXc);
  EXPECT_EQ(RunImport(to.vault(), plan, "2026-12-09 10:11:12", [](int, int) { return true; }), ImportOutcome::Imported);
  EXPECT_EQ(SixFieldsOf(to.vault().records()), SixFieldsOf(from.vault().records()));

  EXPECT_THROW(ExportCsv(from.vault(), QString::fromStdString(from.folder().file("no/such/folder.csv"))),
               TransferError);
  // Written, then refused by the rename, or called off before it: the plain-text copy goes.
  const std::string folderInTheWay = from.folder().file("a folder.csv");
  std::filesystem::create_directory(folderInTheWay);
  EXPECT_THROW(ExportCsv(from.vault(), QString::fromStdString(folderInTheWay)), TransferError);
  EXPECT_THROW(ExportCsv(from.vault(), path, [asked = 0]() mutable { return ++asked < 2; }), TransferError);
  EXPECT_EQ(file_bytes::ReadBytes(path.toStdString()), bytes);
  for (const std::string& name : from.folder().entries()) EXPECT_FALSE(name.starts_with(".~")) << name;
}

}  // namespace
}  // namespace transfer
