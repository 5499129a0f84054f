#include "cli/commands.h"

#include <gtest/gtest.h>

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
