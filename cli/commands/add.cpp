// add: a new record from the answers, with the window's checks.
#include "cli/command.h"
#include "cli/generated_password.h"
#include "cli/record_output.h"
#include "cli/session.h"
#include "cli/typed_record.h"

namespace cli::commands {

namespace {

ExitCode RunAdd(CommandContext& context) {
  const Invocation& invocation = context.invocation();
  Session& session = context.session();
  TerminalInput& input = context.input();
  vault::Record record;
  record.category = Answer(input, "分类: ");
  record.title = Answer(input, "标题: ");
  record.address = Answer(input, "网址: ");
  record.account = Answer(input, "帐号: ");
  const bool generated = invocation.has("--generate");
  record.password = generated ? GeneratedPassword(session.folder(), invocation.values.value("--generate"), true)
                              : Answer(input, "密码: ", true);
  record.note = Answer(input, "备注: ");
  CheckTypedRecord(session.vault(), record);
  session.vault().addRecord(record);
  PrintLine("添加成功.");
  return kSuccess;
}

}  // namespace

extern const Command kAdd{
    .name = "add",
    .optionalNumber = {"--generate"},
    .usage = "add [--generate [长度]]",
    .description =
        "添加记录: 依次询问分类、标题、网址、帐号、密码、备注; 没有终端时从管理密码之后的各行读取.\n"
        "--generate 用密码生成器的设置生成密码(不读密码那一行).",
    .run = RunAdd,
};

}  // namespace cli::commands
