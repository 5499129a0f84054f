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
