// The keyhaven-newdb tool, run as a user would run it.
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "crypto/protected_field.h"
#include "protected_file_support.h"
#include "store/connection.h"
#include "store/query.h"
#include "store/statements.h"
#include "store_test_support.h"

namespace store {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

struct Outcome {
  int exitCode = -1;
  std::string output;  // stdout and stderr together
};

std::string ShellQuoted(const std::string& word) {
  std::string out = "'";
  for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

Outcome RunCommand(const std::vector<std::string>& words, const std::string& input = {}) {
  std::string command;
  for (const auto& word : words) command += ShellQuoted(word) + " ";
  if (!input.empty()) command = "printf '%s' " + ShellQuoted(input) + " | " + command;
  command += "2>&1";
  Outcome outcome;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return outcome;
  char buffer[512];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) outcome.output.append(buffer, got);
  const int status = ::pclose(pipe);
  outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

Outcome NewDb(const std::vector<std::string>& arguments) {
  std::vector<std::string> words{KEYHAVEN_NEWDB};
  words.insert(words.end(), arguments.begin(), arguments.end());
  return RunCommand(words);
}

std::string ReadOne(const std::string& path, const std::string& statement) {
  Connection connection;
  connection.setConnectionString("Data Source=" + path +
                                 ";Jet OLEDB:Database Password=" + std::string(kDatabasePassword));
  Query q(connection);
  q.addSql(statement);
  q.open();
  return q.recordCount() == 1 ? q.field(0) : "<" + std::to_string(q.recordCount()) + " rows>";
}

TEST(KeyhavenNewDb, MakesADatabaseTheProgramAndTheCommandLineToolCanRead) {
  TempFolder folder;
  const std::string path = folder.file("_.udb");
  const Outcome made = NewDb({path});
  ASSERT_EQ(made.exitCode, 0) << made.output;

  const Outcome shown = RunCommand({SQLCIPHER_CLI, path}, "PRAGMA key='kv7Rq2mZx9Tb';\nselect 密码 from Pass;\n");
  EXPECT_EQ(shown.exitCode, 0) << shown.output;
  EXPECT_EQ(shown.output, crypto::MasterPasswordCipher("123456") + "\n");

  EXPECT_EQ(ReadOne(path, sql::SelectMasterPassword()), crypto::MasterPasswordCipher("123456"));
  EXPECT_EQ(ReadOne(path, sql::SelectDatabaseKey()), "0");
  EXPECT_EQ(ReadOne(path, "Select count(*) from data"), "0");
  EXPECT_EQ(folder.entries(), std::vector<std::string>{"_.udb"}) << "no temporary file is left";

  Connection connection;
  connection.setConnectionString(BuildConnectionString(folder.programFolder()));
  Query q(connection);
  q.addSql(sql::InsertRecord({"c", "t", "a", "u", "P", "N"}));
  q.execSql();
  q.clearSql();
  q.addSql(sql::SelectAll());
  q.open();
  EXPECT_EQ(q.fieldNames(), (std::vector<std::string>{"编号", "分类", "网址", "标题", "帐号", "密码", "备注", "统计"}));
  EXPECT_EQ(q.field("统计"), "0");
}

TEST(KeyhavenNewDb, TakesAnotherMasterPassword) {
  TempFolder folder;
  const std::string path = folder.file("other.udb");
  ASSERT_EQ(NewDb({"--master", "Abc123", path}).exitCode, 0);
  EXPECT_EQ(ReadOne(path, sql::SelectMasterPassword()), crypto::MasterPasswordCipher("Abc123"));
}

// Runs the tool on a terminal of its own, answering each prompt that ends in ": ".
Outcome NewDbOnTerminal(const std::vector<std::string>& arguments, const std::vector<std::string>& answers) {
  std::vector<std::string> words{KEYHAVEN_NEWDB};
  words.insert(words.end(), arguments.begin(), arguments.end());
  Outcome outcome;
  int terminal = -1;
  const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
  if (child < 0) return outcome;
  if (child == 0) {
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  std::size_t answered = 0;
  char buffer[256];
  ssize_t got = 0;
  while ((got = ::read(terminal, buffer, sizeof buffer)) > 0) {
    outcome.output.append(buffer, static_cast<std::size_t>(got));
    if (answered < answers.size() && outcome.output.ends_with(": ")) {
      const std::string line = answers[answered++] + "\n";
      if (::write(terminal, line.data(), line.size()) != static_cast<ssize_t>(line.size())) break;
    }
  }
  ::close(terminal);
  int status = 0;
  ::waitpid(child, &status, 0);
  outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

TEST(KeyhavenNewDb, TakesTheMasterPasswordFromStandardInputOrTheTerminalUnseen) {
  TempFolder folder;
  const std::string piped = folder.file("piped.udb");
  const Outcome fromInput = RunCommand({KEYHAVEN_NEWDB, "--master-stdin", piped}, "Pipe42\nrest\n");
  ASSERT_EQ(fromInput.exitCode, 0) << fromInput.output;
  EXPECT_EQ(ReadOne(piped, sql::SelectMasterPassword()), crypto::MasterPasswordCipher("Pipe42"));

  const std::string asked = folder.file("asked.udb");
  const Outcome typed = NewDbOnTerminal({"--ask-master", asked}, {"Tty7x", "Tty7x"});
  ASSERT_EQ(typed.exitCode, 0) << typed.output;
  EXPECT_EQ(typed.output.find("Tty7x"), std::string::npos) << "echoed: " << typed.output;
  EXPECT_EQ(ReadOne(asked, sql::SelectMasterPassword()), crypto::MasterPasswordCipher("Tty7x"));

  const Outcome differing = NewDbOnTerminal({"--ask-master", folder.file("typo.udb")}, {"Abc1", "Abd1"});
  EXPECT_EQ(differing.exitCode, 1) << differing.output;
  EXPECT_EQ(RunCommand({KEYHAVEN_NEWDB, "--master-stdin", folder.file("empty.udb")}, "\n").exitCode, 1);
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{"asked.udb", "piped.udb"}));

  const Outcome help = NewDb({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.output.find("--master-stdin"), std::string::npos) << help.output;
  EXPECT_NE(help.output.find("--ask-master"), std::string::npos) << help.output;
  EXPECT_NE(help.output.find("other users can see it"), std::string::npos) << help.output;
}

// With the costs the program uses: the one store test that pays for a real derivation.
TEST(KeyhavenNewDb, ProtectMakesAFileThatOnlyTheMasterPasswordOpens) {
  TempFolder folder;
  const std::string path = folder.file("_.udb");
  const Outcome made = RunCommand({KEYHAVEN_NEWDB, "--protect", "--master-stdin", path}, "Prot3ct9\n");
  ASSERT_EQ(made.exitCode, 0) << made.output;

  const Outcome shown = RunCommand({SQLCIPHER_CLI, path}, "PRAGMA key='kv7Rq2mZx9Tb';\nselect 密码 from Pass;\n");
  EXPECT_NE(shown.output.find("not a database"), std::string::npos) << shown.output;
  EXPECT_EQ(crypto::SaltParameterNumber(ReadFileSalt(path).value()), crypto::kFileKeyParameters.number);
  const testing::DerivedKey key = testing::KeyFromFile(path, "Prot3ct9", crypto::kFileKeyParameters);
  ASSERT_TRUE(OpensWithKey(path, key.fileKey()));
  EXPECT_FALSE(testing::OpensFromPassword(path, "Prot3ct8", crypto::kFileKeyParameters));
  EXPECT_EQ(folder.entries(), std::vector<std::string>{"_.udb"});

  // Only a password typed or piped in, and never the built-in one, protects a file.
  const std::string other = folder.file("other.udb");
  const Outcome onCommandLine = NewDb({"--protect", "--master", "Prot3ct9", other});
  EXPECT_EQ(onCommandLine.exitCode, 2);
  EXPECT_NE(onCommandLine.output.find("--master-stdin or --ask-master"), std::string::npos) << onCommandLine.output;
  EXPECT_EQ(NewDb({"--protect", other}).exitCode, 2);
  const Outcome builtIn = RunCommand({KEYHAVEN_NEWDB, "--protect", "--master-stdin", other}, "123456\n");
  EXPECT_EQ(builtIn.exitCode, 1);
  EXPECT_NE(builtIn.output.find("123456"), std::string::npos) << builtIn.output;
  EXPECT_EQ(folder.entries(), std::vector<std::string>{"_.udb"});
}

TEST(KeyhavenNewDb, NeverOverwritesWithoutForce) {
  TempFolder folder;
  const std::string path = folder.file("_.udb");
  WriteBytes(path, "precious");
  const Outcome refused = NewDb({path});
  EXPECT_NE(refused.exitCode, 0);
  EXPECT_NE(refused.output.find("exists"), std::string::npos) << refused.output;
  EXPECT_EQ(ReadBytes(path), "precious");

  const std::string dangling = folder.file("link.udb");
  std::filesystem::create_symlink(folder.file("nowhere"), dangling);
  EXPECT_NE(NewDb({dangling}).exitCode, 0) << "a link is a file that exists";
  EXPECT_FALSE(std::filesystem::exists(folder.file("nowhere")));

  WriteBytes(folder.file(".~newdb-ab12CD"), "what a killed run left");
  ASSERT_EQ(NewDb({"--force", "--master", "Zz9", path}).exitCode, 0);
  EXPECT_EQ(ReadOne(path, sql::SelectMasterPassword()), crypto::MasterPasswordCipher("Zz9"));
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{"_.udb", "link.udb"})) << "the leftover is gone too";
}

TEST(KeyhavenNewDb, RefusesMasterPasswordsTheLoginCannotTake) {
  TempFolder folder;
  const std::string path = folder.file("_.udb");
  for (const std::string bad : {"", "with space", "pässword", "a-b", "密码", "semi;colon"}) {
    const Outcome outcome = NewDb({"--master", bad, path});
    EXPECT_NE(outcome.exitCode, 0) << bad;
    EXPECT_FALSE(outcome.output.empty()) << bad;
  }
  EXPECT_TRUE(folder.entries().empty());
}

TEST(KeyhavenNewDb, BadArgumentsPrintTheUsage) {
  TempFolder folder;
  const std::string path = folder.file("_.udb");
  for (const std::vector<std::string>& arguments :
       std::vector<std::vector<std::string>>{{},
                                             {"--master"},
                                             {"--master", "abc"},
                                             {path, path},
                                             {"--frobnicate", path},
                                             {"--force"},
                                             {"--master-stdin", "--ask-master", path},
                                             {"--master", "abc", "--master-stdin", path}}) {
    const Outcome outcome = NewDb(arguments);
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_TRUE(outcome.output.starts_with("usage: keyhaven-newdb")) << outcome.output;
    EXPECT_EQ(std::count(outcome.output.begin(), outcome.output.end(), '\n'), 1) << "one line";
  }
  EXPECT_TRUE(folder.entries().empty());
}

TEST(KeyhavenNewDb, AFolderThatCannotTakeTheFileLeavesNothing) {
  TempFolder folder;
  WriteBytes(folder.file("blocker"), "x");
  const Outcome outcome = NewDb({folder.file("blocker") + "/_.udb"});
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_TRUE(outcome.output.starts_with("keyhaven-newdb: ")) << outcome.output;
  EXPECT_EQ(folder.entries(), std::vector<std::string>{"blocker"});
}

}  // namespace
}  // namespace store
