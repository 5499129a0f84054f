// The group 导入导出: a CSV import after one confirmation, with its progress window, and the export.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>

#include "app/transfer_group.h"
#include "tests/gui/app/app_harness.h"
#include "transfer/import_summary.h"

namespace {

// Two rows to add (one into a new category, one into 导入), two duplicates (of a stored record and
// of an earlier row), one value no code page 936 text can hold and an unfinished quote.
const QByteArray kKeePassXcFile =
    "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\"\n"
    "\"Root/网站\",\"Mail\",\"me\",\"pw1\",\"https://mail.example.com\",\"\"\n"
    "\"Root/银行\",\"Bank\",\"alice\",\"pw2\",\"https://bank.example.com\",\"柜台\"\n"
    "\"Root\",\"Plain\",\"bob\",\"pw3\",\"\",\"\"\n"
    "\"Root/银行\",\"Bank\",\"alice\",\"pw2\",\"https://bank.example.com\",\"柜台\"\n"
    "\"Root/网站\",\"Smile\",\"eve\",\"\xF0\x9F\x98\x80\",\"\",\"\"\n"
    "\"Root/网站\",\"Open\",\"x\",\"y\",\"\",\"never closed\n";

class TransferTest : public testing::Test {
 protected:
  void SetUp() override {
    app.makeDatabase();
    app.startAndLogin();
    app.main->vault().addRecord({"", "网站", "https://mail.example.com", "Mail", "me", "pw1", ""});
    QFile file(app.folder() + "import.csv");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kKeePassXcFile);
    group = Named<app::TransferGroup>(*app.main, "GroupBox_Transfer");
    ASSERT_NE(group, nullptr);
  }

  void import() {
    app.dialogs.asked.clear();
    app.dialogs.fileAnswers = {app.folder() + "import.csv"};
    Named<QPushButton>(*group, "Button_Import")->click();
  }

  QStringList files(const QString& pattern) const { return QDir(app.folder()).entryList({pattern}, QDir::Files); }

  AppHarness app;
  app::TransferGroup* group = nullptr;
};

TEST_F(TransferTest, TheConfirmationCountsWhatTheImportWillDoAndNoWritesNothing) {
  app.dialogs.confirmAnswers = {false};
  import();
  ASSERT_EQ(app.dialogs.texts("question").size(), 1);
  EXPECT_EQ(app.dialogs.asked.front().kind, "open");
  const QStringList lines = app.dialogs.texts("question").front().split('\n');
  ASSERT_EQ(lines.size(), 7) << lines.join('\n').toStdString();
  EXPECT_EQ(lines[0], "文件格式: KeePassXC");
  EXPECT_EQ(lines[1], "将添加 2 条记录, 2 个新分类.");
  EXPECT_EQ(lines[2], "跳过 2 条重复的记录.");
  EXPECT_EQ(lines[3], "2 行无法读取:");
  EXPECT_TRUE(lines[4].startsWith("第6行: ")) << lines[4].toStdString();
  EXPECT_TRUE(lines[5].startsWith("第7行: ")) << lines[5].toStdString();
  EXPECT_EQ(lines[6], "现在导入吗?");
  EXPECT_EQ(app.records().size(), 1u);
  EXPECT_TRUE(files("导入前备份_bak_*").isEmpty());
}

TEST_F(TransferTest, ACancelOrALockDuringTheImportWritesNothingAndYesImports) {
  app.dialogs.onProgress = [](int, int) { return false; };  // the cancel button
  import();
  EXPECT_EQ(app.dialogs.texts("progress").size(), 1);
  EXPECT_EQ(app.records().size(), 1u);
  EXPECT_EQ(app.panel(0), "导入已取消, 没有导入任何记录.");

  app.dialogs.onProgress = [this](int, int) {
    Named<QAction>(*app.main, "HideME")->trigger();
    return true;
  };
  import();
  EXPECT_EQ(app.dialogs.closeAllCalls, 1);
  EXPECT_EQ(app.records().size(), 1u);
  EXPECT_FALSE(app.main->isVisible());

  Named<QAction>(*app.main, "ShowME")->trigger();
  app.typeLogin(AppHarness::kMaster);
  app.dialogs.onProgress = nullptr;
  import();
  EXPECT_FALSE(app.dialogs.progressSteps.empty());
  ASSERT_EQ(app.records().size(), 3u);
  EXPECT_EQ(app.records()[1].title, "Bank");
  EXPECT_EQ(app.records()[2].category, "导入");
  EXPECT_EQ(app.panel(0), "已导入 2 条记录.");
  EXPECT_EQ(app.gridRowCount(), 3) << "the listing is rebuilt";
  EXPECT_EQ(Named<QListWidget>(*app.main, "ListBox_Class")->findItems("银行", Qt::MatchExactly).size(), 1);
  EXPECT_EQ(files("导入前备份_bak_*_.udb").size(), 3) << "one backup before each run";
}

TEST_F(TransferTest, TheTrayMenusEndDuringTheImportCancelsItBeforeTheWindowCloses) {
  app.dialogs.onProgress = [this](int, int) {
    Named<QAction>(*app.main, "CloseMe")->trigger();
    EXPECT_FALSE(app.main->hasClosed()) << "not while the import holds the file";
    return true;
  };
  import();
  EXPECT_TRUE(app.main->hasClosed());
  EXPECT_EQ(app.records().size(), 1u);
}

TEST_F(TransferTest, AFailedImportIsToldAndWritesNothing) {
  // The engine refuses every new row, as a full disk would.
  app.exec("create trigger refuse before insert on data begin select raise(abort, 'refused'); end");
  import();
  ASSERT_FALSE(app.dialogs.asked.empty());
  EXPECT_EQ(app.dialogs.asked.back().kind, "message");
  EXPECT_EQ(app.dialogs.asked.back().caption, "导入CSV");
  EXPECT_TRUE(app.dialogs.asked.back().text.contains("没有导入任何记录"))
      << app.dialogs.asked.back().text.toStdString();
  EXPECT_EQ(app.records().size(), 1u);
  EXPECT_EQ(app.gridRowCount(), 1) << "the listing is back";
}

TEST_F(TransferTest, TheExportAsksTheMasterPasswordAndWarnsBeforeItWrites) {
  const QString path = app.folder() + "out.csv";
  app.dialogs.inputAnswers = {"654321"};
  Named<QPushButton>(*group, "Button_Export")->click();
  EXPECT_EQ(app.dialogs.texts().back(), "管理密码错误.");

  app.dialogs.inputAnswers = {AppHarness::kMaster};
  app.dialogs.confirmAnswers = {false};
  app.dialogs.fileAnswers = {path};
  Named<QPushButton>(*group, "Button_Export")->click();
  EXPECT_EQ(app.dialogs.texts("confirm"), QStringList{"导出的文件包含明文密码, 请妥善保管并在用完后删除."});
  EXPECT_TRUE(app.dialogs.texts("save").isEmpty());
  EXPECT_FALSE(QFile::exists(path));

  app.dialogs.inputAnswers = {AppHarness::kMaster};
  app.dialogs.confirmAnswers = {true};
  Named<QPushButton>(*group, "Button_Export")->click();
  QFile written(path);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_EQ(
      written.readAll(),
      "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\",\"Icon\",\"Last Modified\","
      "\"Created\"\n\"Root/网站\",\"Mail\",\"me\",\"pw1\",\"https://mail.example.com\",\"\",\"\",\"0\",\"\",\"\"\n");
  EXPECT_EQ(written.permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
  EXPECT_EQ(app.panel(0), "已导出 1 条记录.");
}

TEST(ImportSummary, ShowsTheFirstTenUnreadableRowsAndTheSkippedTypes) {
  transfer::ImportPlan plan{transfer::CsvFormat::Bitwarden, {}, {"导入"}, 0, 3, {}};
  for (int line = 2; line <= 13; ++line) plan.unreadable.push_back({line, "字段数少于标题行"});
  const QStringList lines = transfer::ImportSummary(plan).split('\n');
  ASSERT_EQ(lines.size(), 15);
  EXPECT_EQ(lines[0], "文件格式: Bitwarden");
  EXPECT_EQ(lines[1], "将添加 0 条记录, 1 个新分类.");
  EXPECT_EQ(lines[2], "跳过 3 条不是登录类型的记录.");
  EXPECT_EQ(lines[3], "12 行无法读取:");
  EXPECT_EQ(lines[4], "第2行: 字段数少于标题行");
  EXPECT_EQ(lines[13], "第11行: 字段数少于标题行");
  EXPECT_EQ(lines[14], "……");
}

}  // namespace
