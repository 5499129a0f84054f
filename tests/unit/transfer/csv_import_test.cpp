// What an import plans and how it runs: duplicates, unreadable rows, and a file left exactly as
// it was when the import fails or is cancelled.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/disk_faults.h"
#include "tests/support/file_bytes.h"
#include "tests/unit/transfer/transfer_test_support.h"
#include "transfer/csv_import.h"

namespace transfer {
namespace {

using testing::VaultFolder;
using namespace std::string_literals;

const std::string kHeader = "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\"\n";
const QString kClock = "2026-12-09 10:11:12";

// A KeePassXC file of `rows` records in one category, each with a note of `noteBytes` letters.
std::string ManyRows(int rows, std::size_t noteBytes) {
  std::string csv = kHeader;
  const std::string note(noteBytes, 'n');
  for (int i = 0; i < rows; ++i)
    csv += "\"Root/批量\",\"t" + std::to_string(i) + "\",\"u\",\"p\",\"https://x.example/\",\"" + note + "\"\n";
  return csv;
}

int RecordCount(vault::Vault& vault) { return static_cast<int>(vault.records().size()); }

TEST(CsvImport, CountsDuplicatesAndUnreadableRowsAndFilesCategoriesRegardlessOfCase) {
  VaultFolder folder;
  folder.vault().addRecord({{}, "Work", "https://a.example/", "邮箱", "me", "pw", "备注"});
  const QString path = folder.writeFile(
      "import.csv", kHeader +
                        "\"Root/work\",\"邮箱\",\"me\",\"pw\",\"https://a.example/\",\"备注\"\n"  // line 2: existing
                        "\"Root/WORK\",\"新\",\"me\",\"pw\",\"\",\"two\nlines\"\n"                // 3: new
                        "\"Root/新分类\",\"a\",\"b\",\"pw \xF0\x9F\x98\x80\",\"\",\"\"\n"         // 5: emoji
                        "\"Root/work\",\"新\",\"me\",\"pw\",\"\",\"two\nlines\"\n"                // 6: earlier row
                        "\"Root/新分类\",\"short\"\n"s                                            // 8: too few
                        + "\"Root/新分类\",\"nul\",\"u\",\"p\0w\",\"\",\"\"\n"s                   // 9: NUL
                        + "\"Root/新分类\",\"b\",\"c\",\"d\",\"\",\"\"\n"                         // 10: new
                        + "\"Root\",\"open\",\"quote");                                           // 11
  const ImportPlan plan = PlanImport(folder.vault(), path);
  EXPECT_EQ(plan.duplicates, 2);
  ASSERT_EQ(plan.records.size(), 2u);
  EXPECT_EQ(plan.records[0].category, "Work") << "an existing category in another letter case";
  EXPECT_EQ(plan.records[0].note, "two\nlines");
  EXPECT_EQ(plan.records[1].category, "新分类");
  EXPECT_EQ(plan.newCategories, QStringList{"新分类"}) << "the unreadable row's category counts only once read";
  ASSERT_EQ(plan.unreadable.size(), 4u);
  EXPECT_EQ(plan.unreadable[0].line, 5);
  EXPECT_TRUE(plan.unreadable[0].reason.contains(QString::fromUtf8("\xF0\x9F\x98\x80")));
  EXPECT_EQ(plan.unreadable[1].line, 8);
  EXPECT_EQ(plan.unreadable[2].line, 9) << "a NUL would cut the password short";
  EXPECT_EQ(plan.unreadable[3].line, 11);

  const QString borders = folder.writeFile("borders.csv", kHeader +
                                                              "\"Root/b\",\"ab\",\"\",\"pw\",\"\",\"\"\n"
                                                              "\"Root/b\",\"a\",\"b\",\"pw\",\"\",\"\"\n");
  EXPECT_EQ(PlanImport(folder.vault(), borders).records.size(), 2u)
      << "the same text, split otherwise, is no duplicate";
  EXPECT_THROW(PlanImport(folder.vault(), folder.writeFile("other.csv", "a,b,c\n1,2,3\n")), TransferError);
  EXPECT_THROW(PlanImport(folder.vault(), folder.writeFile("empty.csv", "")), TransferError);
  const QString huge = folder.writeFile("huge.csv", kHeader);
  std::filesystem::resize_file(huge.toStdString(), kLargestImport + 1);
  EXPECT_THROW(PlanImport(folder.vault(), huge), TransferError);
  EXPECT_THROW(PlanImport(folder.vault(), QString::fromStdString(folder.folder().file("missing.csv"))), TransferError);

  int lastDone = -1;
  EXPECT_EQ(RunImport(folder.vault(), plan, kClock,
                      [&](int done, int total) {
                        EXPECT_EQ(total, 2);
                        lastDone = done;
                        return true;
                      }),
            ImportOutcome::Imported);
  EXPECT_EQ(lastDone, 2);
  EXPECT_EQ(RecordCount(folder.vault()), 3);
  EXPECT_TRUE(std::filesystem::exists(folder.programFolder() + "导入前备份_bak_20261209101112_.udb"));
  EXPECT_EQ(PlanImport(folder.vault(), path).records.size(), 0u) << "a second import finds only duplicates";
}

TEST(CsvImport, ACancelledImportLeavesTheFileAsItWasBesideItsBackup) {
  VaultFolder folder;
  const ImportPlan plan = PlanImport(folder.vault(), folder.writeFile("many.csv", ManyRows(1200, 10)));
  const std::string before = file_bytes::ReadBytes(folder.database());
  int asked = 0;
  EXPECT_EQ(RunImport(folder.vault(), plan, kClock,
                      [&](int done, int) {
                        ++asked;
                        return done < 1000;
                      }),
            ImportOutcome::Cancelled);
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(file_bytes::ReadBytes(folder.database()) == before) << "the file changed";
  EXPECT_TRUE(std::filesystem::exists(folder.programFolder() + "导入前备份_bak_20261209101112_.udb"));
  EXPECT_EQ(RecordCount(folder.vault()), 0);
}

TEST(CsvImport, AnImportThatFailsOnAFullDiskLeavesTheFileAsItWas) {
  VaultFolder outside;
  const ImportPlan plan = PlanImport(outside.vault(), outside.writeFile("large.csv", ManyRows(400, 2000)));
  const std::string disk = outside.folder().file("disk");
  std::filesystem::create_directory(disk);
  std::string before;
  bool backedUp = false;
  {
    disk_faults::SmallDisk small(disk, 256 * 1024);
    testing::FreshVault inside(disk);
    before = file_bytes::ReadBytes(inside.database());
    // Room for the backup and a few rows, where the disk is a small one of its own: rows added
    // one by one would change the file, a commit cut short would leave other bytes.
    const std::string reserve = disk + "/reserve";
    file_bytes::WriteBytes(reserve, before + std::string(64 * 1024, 'r'));
    small.fill();
    std::filesystem::remove(reserve);
    EXPECT_THROW(RunImport(inside.vault(), plan, kClock, [](int, int) { return true; }), TransferError);
    EXPECT_TRUE(file_bytes::ReadBytes(inside.database()) == before) << "the file changed";
    backedUp = std::filesystem::exists(disk + "/导入前备份_bak_20261209101112_.udb");
    EXPECT_EQ(RecordCount(inside.vault()), 0);
  }
  if (::geteuid() == 0) {
    EXPECT_TRUE(backedUp) << "the backup comes first";
  }
}

}  // namespace
}  // namespace transfer
