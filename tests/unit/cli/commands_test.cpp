#include "cli/commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "cli/terminal_input.h"
#include "crypto/protected_field.h"
#include "store/database_file.h"
#include "tests/unit/store/store_test_support.h"
#include "vault/vault.h"

TEST(Commands, AnUnknownNameIsAUsageErrorBeforeAnyDatabaseIsOpened) {
  cli::Invocation invocation;
  invocation.command = "frobnicate";
  invocation.database = "/nonexistent/_.udb";
  try {
    cli::RunCommand(invocation);
    FAIL() << "an unknown command ran";
  } catch (const cli::CliError& error) {
    EXPECT_EQ(error.code(), cli::kUsage);
    EXPECT_EQ(error.message().toStdString(), "未知的命令 frobnicate.");
  }
}

TEST(Commands, EveryCommandTheHelpNamesIsRun) {
  for (const QString& line : cli::HelpText(QString()).split('\n')) {
    if (!line.startsWith("  ")) continue;
    cli::Invocation invocation;
    invocation.command = line.trimmed().section(' ', 0, 0);
    if (invocation.command == "generate") continue;  // needs no database, so it would run
    invocation.database = "/nonexistent/_.udb";
    try {
      cli::RunCommand(invocation);
    } catch (const cli::CliError& error) {
      EXPECT_FALSE(error.message().startsWith("未知的命令")) << invocation.command.toStdString();
    }
  }
}

namespace {

struct Ran {
  int code = -1;
  std::string out;
  std::string error;
};

// The command as keyhaven-cli runs it, its answers as the lines of standard input.
Ran RunInProcess(const std::string& database, const QStringList& arguments, const QStringList& lines) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return {};
  const QByteArray typed = (lines.join('\n') + '\n').toUtf8();
  const bool written = ::write(pipeEnds[1], typed.constData(), static_cast<std::size_t>(typed.size())) == typed.size();
  ::close(pipeEnds[1]);
  cli::TerminalInput input(pipeEnds[0]);
  Ran run;
  testing::internal::CaptureStdout();
  try {
    run.code = written
                   ? cli::RunCommand(
                         cli::ParseArguments(QStringList{"--db", QString::fromStdString(database)} + arguments), input)
                   : -1;
  } catch (const cli::CliError& error) {
    run.code = error.code();
    run.error = error.message().toStdString();
  }
  run.out = testing::internal::GetCapturedStdout();
  ::close(pipeEnds[0]);
  return run;
}

}  // namespace

TEST(Commands, RunInProcessOnTheDatabaseTheyChange) {
  store::testing::TempFolder folder;
  const std::string database = folder.file("_.udb");
  store::CreateDatabaseFile(database, crypto::MasterPasswordCipher("123456"), false);
  {
    vault::Vault vault;
    vault.open(QString::fromStdString(folder.programFolder()));
    vault.loadDatabaseKey();
    vault.addCategory("Mail");
  }
  EXPECT_EQ(RunInProcess(database, {"add"}, {"123456", "mail", "公司邮箱", "", "alice", "pw9", "备注一"}).out,
            "添加成功.\n");
  const Ran listed = RunInProcess(database, {"ls", "Mail"}, {"123456"});
  EXPECT_EQ(listed.code, cli::kSuccess);
  EXPECT_NE(listed.out.find("\tMail\t公司邮箱\talice\n"), std::string::npos) << "the typed category's stored spelling";
  EXPECT_EQ(RunInProcess(database, {"ls", "--categories"}, {"123456"}).out, "Mail\t2\n");
  const Ran shown = RunInProcess(database, {"show", "公司", "--reveal"}, {"123456"});
  EXPECT_NE(shown.out.find("密码: pw9\n备注: 备注一\n"), std::string::npos) << shown.out;
  const std::string number = shown.out.substr(shown.out.find(' ') + 1, shown.out.find('\n') - shown.out.find(' ') - 1);
  const Ran found = RunInProcess(database, {"search", "--field", "备注", "备注一"}, {"123456"});
  EXPECT_EQ(found.out.substr(0, found.out.find('\t')), number);
  EXPECT_EQ(RunInProcess(database, {"rm", number.c_str(), "--yes"}, {"123456"}).code, cli::kSuccess);
  const Ran wrong = RunInProcess(database, {"ls"}, {"654321"});
  EXPECT_EQ(wrong.code, cli::kFailure);
  EXPECT_EQ(wrong.error, "密码错误...");

  vault::Vault reread;
  reread.open(QString::fromStdString(folder.programFolder()));
  reread.loadDatabaseKey();
  EXPECT_FALSE(reread.record(QString::fromStdString(number))) << "rm deleted it";
  ASSERT_EQ(reread.deletedRecords().size(), 1u);
  EXPECT_EQ(reread.deletedRecords().front().record.category, "Mail");
}
