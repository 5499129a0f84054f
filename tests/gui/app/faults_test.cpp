// The windows when the database file, the disk or Config.ini let them down: a clear message,
// no crash, and the file either as it was or holding the complete change. Secrets never reach
// the program's output.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>
#include <unistd.h>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "encoding/codepage.h"
#include "store/connection.h"
#include "tests/gui/app/app_harness.h"
#include "tests/support/disk_faults.h"
#include "tests/support/file_bytes.h"

namespace {

using file_bytes::ReadBytes;
using file_bytes::WriteBytes;

std::string Garbage(std::size_t size) {
  std::string bytes(size, '\0');
  unsigned state = 4711;
  for (char& c : bytes) c = static_cast<char>((state = state * 1103515245 + 12345) >> 16);
  return bytes;
}

// A logged-in program with one category holding one record.
void StartWithOneRecord(AppHarness& app) {
  app.makeDatabase();
  app.startAndLogin();
  app.addCategory("websites");
  app.dialogs.asked.clear();
}

void AddOne(AppHarness& app, const QString& title) { app.addRecord("websites", title, "me", "pw1", "note"); }

}  // namespace

TEST(DatabaseFaults, GarbageOrTruncatedFileAtStartIsShownOnceAndEndsTheProgram) {
  AppHarness app;
  app.makeDatabase();
  const std::string whole = ReadBytes(app.databasePath());
  // Garbage from 1024 bytes on looks like a protected file and gets the login.
  for (const std::string& damaged : {Garbage(1000), whole.substr(0, 100), std::string()}) {
    SCOPED_TRACE(damaged.size());
    WriteBytes(app.databasePath(), damaged);
    ASSERT_TRUE(app.create());
    app.runStartupCheck();
    const QStringList errors = app.dialogs.texts("error");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("is not a database")) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains(QString::fromStdString(app.databasePath()))) << "the message names the file";
    EXPECT_FALSE(app.login->isVisible());
    EXPECT_FALSE(app.main->isVisible());
    EXPECT_FALSE(Named<QTimer>(*app.main, "Timer_CheckLogin")->isActive()) << "not shown again every second";
    EXPECT_TRUE(ReadBytes(app.databasePath()) == damaged) << "the file is left as it was";
    app.restart();
  }
}

TEST(DatabaseFaults, ReadOnlyFileRefusesTheAddWithAMessageAndKeepsItsContent) {
  AppHarness app;
  StartWithOneRecord(app);
  const std::string bytes = ReadBytes(app.databasePath());
  {
    disk_faults::ReadOnlyFile readOnly(app.databasePath());
    if (!readOnly.holds()) GTEST_SKIP() << "no way to make a file read-only for root here";
    AddOne(app, "refused");
    EXPECT_TRUE(ReadBytes(app.databasePath()) == bytes) << "the file changed";
  }
  const QStringList errors = app.dialogs.texts("error");
  ASSERT_EQ(errors.size(), 1);
  // Refused at open ("readonly") or at the write through the open file (the system's reason).
  EXPECT_TRUE(errors[0].contains("readonly") || errors[0].contains("Operation not permitted") ||
              errors[0].contains("Permission denied"))
      << errors[0].toStdString();
  EXPECT_FALSE(app.dialogs.texts().contains("添加成功.")) << "no success is claimed";
  EXPECT_EQ(app.records().size(), 1u);
}

TEST(DatabaseFaults, FileLockedByAnotherProgramRefusesTheAddUntilTheLockIsGone) {
  AppHarness app;
  StartWithOneRecord(app);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open_v2(app.databasePath().c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  sqlite3_key(other, store::kDatabasePassword.data(), static_cast<int>(store::kDatabasePassword.size()));
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE; DELETE FROM data;", nullptr, nullptr, nullptr), SQLITE_OK);

  AddOne(app, "while locked");
  const QStringList errors = app.dialogs.texts("error");
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].contains("locked")) << errors[0].toStdString();
  EXPECT_FALSE(app.dialogs.texts().contains("添加成功."));

  ASSERT_EQ(sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);
  app.dialogs.asked.clear();
  AddOne(app, "after the lock");
  EXPECT_TRUE(app.dialogs.texts("error").isEmpty());
  EXPECT_TRUE(app.dialogs.texts().contains("添加成功."));
  EXPECT_EQ(app.records().size(), 2u) << "the other program's rolled-back delete took nothing";
}

TEST(DatabaseFaults, FileDeletedWhileRunningIsReportedAndNotRecreated) {
  AppHarness app;
  StartWithOneRecord(app);
  ASSERT_TRUE(std::filesystem::remove(app.databasePath()));

  AddOne(app, "nowhere to go");
  const QStringList errors = app.dialogs.texts("error");
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].contains(QString::fromStdString(app.databasePath()))) << errors[0].toStdString();
  EXPECT_FALSE(errors[0].contains("readonly")) << "the message says what happened: " << errors[0].toStdString();
  EXPECT_FALSE(app.dialogs.texts().contains("添加成功."));
  EXPECT_FALSE(std::filesystem::exists(app.databasePath())) << "no empty database takes its place";
}

TEST(DatabaseFaults, CompactionOnAFullTemporaryDiskFailsAndKeepsTheFile) {
  AppHarness app;
  StartWithOneRecord(app);
  for (int i = 0; i < 20; ++i) AddOne(app, QString(500, QChar('t')) + QString::number(i));
  app.dialogs.asked.clear();
  const std::string bytes = ReadBytes(app.databasePath());
  {
    QTemporaryDir tmp;
    disk_faults::SmallDisk disk(tmp.path().toStdString(), 16 * 1024);
    disk_faults::ScopedTmpDir tmpDir(tmp.path().toStdString());
    disk.fill();
    Named<QPushButton>(*app.main, "Button11")->click();
  }
  EXPECT_EQ(app.dialogs.texts(), QStringList{"数据库压缩失败."});
  EXPECT_TRUE(app.dialogs.texts("error").isEmpty());
  EXPECT_TRUE(ReadBytes(app.databasePath()) == bytes) << "the file changed";
  Named<QPushButton>(*app.main, "Button_Refresh")->click();
  EXPECT_EQ(app.gridRowCount(), 21) << "the records are all there afterwards";
}

TEST(ConfigFaults, MissingEmptyBinaryOrHugeFileStartsWithTheDefaults) {
  AppHarness app;
  app.makeDatabase();
  const std::string config = (app.folder() + "Config.ini").toStdString();
  const std::string pasteFirst = encoding::Utf8ToCp936("[软件配置]\r\n粘贴式=1\r\n非粘贴式=0\r\n");
  struct Case {
    std::optional<std::string> content;
    bool paste;
  };
  const Case cases[] = {
      {std::nullopt, false},
      {std::string(), false},
      {Garbage(4096), false},
      // Only the first MiB is read: the keys at its start count, the rest is never looked at.
      {pasteFirst + std::string(3 << 20, 'x'), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content ? c.content->size() : 0);
    std::filesystem::remove(config);
    if (c.content) WriteBytes(config, *c.content);
    ASSERT_TRUE(app.create());
    EXPECT_EQ(Named<QRadioButton>(*app.main, "RadioButton_IntoPass1")->isChecked(), c.paste);
    EXPECT_NE(Named<QRadioButton>(*app.main, "RadioButton_IntoPass1")->isChecked(),
              Named<QRadioButton>(*app.main, "RadioButton_IntoPass2")->isChecked());
    EXPECT_TRUE(app.dialogs.asked.empty()) << "a bad settings file is no reason for a message";
    app.restart();
  }
}

TEST(ConfigFaults, SavingOverAHugeFileSaysItCannotWriteAndKeepsTheFile) {
  AppHarness app;
  app.makeDatabase();
  const std::string config = (app.folder() + "Config.ini").toStdString();
  const std::string huge = "[软件配置]\r\n粘贴式=1\r\n非粘贴式=0\r\n" + std::string(3 << 20, 'x');
  WriteBytes(config, huge);
  ASSERT_TRUE(app.create());
  Named<QRadioButton>(*app.main, "RadioButton_IntoPass2")->setChecked(true);
  Named<QPushButton>(*app.main, "Button6")->click();
  EXPECT_EQ(app.dialogs.texts("error"), QStringList{"Unable to write to " + QString::fromStdString(config)});
  EXPECT_FALSE(app.dialogs.texts().contains("配置保存成功！"));
  EXPECT_TRUE(ReadBytes(config) == huge) << "the file changed";
}

TEST(ConfigFaults, SavingOverABinaryFileWritesAModeThatReadsBack) {
  AppHarness app;
  app.makeDatabase();
  WriteBytes((app.folder() + "Config.ini").toStdString(), Garbage(4096));
  ASSERT_TRUE(app.create());
  Named<QRadioButton>(*app.main, "RadioButton_IntoPass1")->setChecked(true);
  Named<QPushButton>(*app.main, "Button6")->click();
  EXPECT_EQ(app.dialogs.texts(), QStringList{"配置保存成功！"});
  app.restart();
  ASSERT_TRUE(app.create());
  EXPECT_TRUE(Named<QRadioButton>(*app.main, "RadioButton_IntoPass1")->isChecked());
}

namespace {

// Sends everything the process writes to stdout and stderr into a file for one scope.
class CapturedOutput {
 public:
  CapturedOutput() {
    std::fflush(nullptr);
    path_ = (std::filesystem::temp_directory_path() / ("keyhaven-output-" + std::to_string(::getpid()))).string();
    const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    for (int i = 0; i < 2; ++i) {
      saved_[i] = ::dup(i + 1);
      ::dup2(fd, i + 1);
    }
    ::close(fd);
  }
  ~CapturedOutput() { restore(); }
  CapturedOutput(const CapturedOutput&) = delete;
  CapturedOutput& operator=(const CapturedOutput&) = delete;

  std::string text() {
    restore();
    std::string out = ReadBytes(path_);
    std::filesystem::remove(path_);
    return out;
  }

 private:
  void restore() {
    if (saved_[0] < 0) return;
    std::fflush(nullptr);
    for (int i = 0; i < 2; ++i) {
      ::dup2(saved_[i], i + 1);
      ::close(saved_[i]);
      saved_[i] = -1;
    }
  }
  std::string path_;
  int saved_[2] = {-1, -1};
};

}  // namespace

TEST(Secrets, NoPasswordOrNoteReachesStdoutOrStderr) {
  const QString master = "Mast3rSecretQ9";
  const QString password = "Pw-Secret-7731";
  const QString note = "Note-Secret-5519";
  qputenv("QT_LOGGING_RULES", "*.debug=true");  // let every category speak, so a leak would show
  std::string output;
  {
    CapturedOutput captured;
    AppHarness app;
    app.makeDatabase(master.toStdString());
    ASSERT_TRUE(app.create());
    app.runStartupCheck();
    app.typeLogin("Wr0ngGuess42");
    app.typeLogin(master);
    ASSERT_TRUE(app.main->isVisible());
    app.addCategory("websites");
    app.addRecord("websites", "site", "me", password, note);
    Named<QPushButton>(*app.main, "Button_Refresh")->click();
    for (int row = 0; row < app.gridRowCount(); ++row) {
      if (app.gridText(row, 3) == "site") app.pickRow(row);
    }
    ASSERT_EQ(Named<QLineEdit>(*app.main, "Edit_MiMa_Temp")->text(), password);
    Named<QPushButton>(*app.main, "ButtonCopyEdit_MiMa")->click();
    app.main->Timer_ClearClipbrdTimer();
    Named<QLineEdit>(*app.main, "Edit_OldPass")->setText(master);
    Named<QLineEdit>(*app.main, "Edit_Pass_A")->setText("N3wMasterQ1");
    Named<QLineEdit>(*app.main, "Edit_Pass_B")->setText("N3wMasterQ1");
    Named<QPushButton>(*app.main, "Button7")->click();
    output = captured.text();
  }
  qunsetenv("QT_LOGGING_RULES");
  for (const QString& secret : {master, password, note, QString("Wr0ngGuess42"), QString("N3wMasterQ1")})
    EXPECT_EQ(output.find(secret.toStdString()), std::string::npos) << secret.toStdString() << " in:\n" << output;
}
