// edit: a record's fields asked one by one, an empty answer keeping the field.
#include "cli/command.h"
#include "cli/generated_password.h"
#include "cli/record_lookup.h"
#include "cli/record_output.h"
#include "cli/session.h"
#include "cli/terminal_text.h"
#include "cli/typed_record.h"

namespace cli::commands {

namespace {

ExitCode RunEdit(CommandContext& context) {
  const Invocation& invocation = context.invocation();
  Session& session = context.session();
  vault::Vault& vault = session.vault();
  vault::Record record = FindRecord(vault, invocation.arguments[0]);
  const auto change = [&](QString& field, const QString& name, bool hidden = false) {
    const QString shown = hidden ? QString("回车保留原密码") : ForTerminal(field);
    if (QString typed = Answer(context.input(), name + " [" + shown + "]: ", hidden); !typed.isEmpty()) field = typed;
  };
  change(record.category, "分类");
  change(record.title, "标题");
  change(record.address, "网址");
  change(record.account, "帐号");
  if (invocation.has("--generate"))
    record.password = GeneratedPassword(session.folder(), invocation.values.value("--generate"), true);
  else
    change(record.password, "密码", true);
  change(record.note, "备注");
  CheckTypedRecord(vault, record);
  if (vault.modifyRecord(record) == 0) throw Failure("该记录已不存在,修改未保存.");
  PrintLine("修改成功.");
  return kSuccess;
}

}  // namespace

extern const Command kEdit{
    .name = "edit",
    .fewestArguments = 1,
    .mostArguments = 1,
    .optionalNumber = {"--generate"},
    .usage = "edit 编号或标题 [--generate [长度]]",
    .description = "修改记录: 依次询问各字段, 空行保留原值; 没有终端时从管理密码之后的各行读取.",
    .run = RunEdit,
};

}  // namespace cli::commands
