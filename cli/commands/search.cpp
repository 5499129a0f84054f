// search: the records whose chosen field holds a word.
#include <QStringList>

#include "cli/command.h"
#include "cli/record_output.h"
#include "cli/session.h"
#include "vault/record_fields.h"

namespace cli::commands {

namespace {

ExitCode RunSearch(CommandContext& context) {
  const Invocation& invocation = context.invocation();
  vault::Vault& vault = context.session().vault();
  QStringList offered;
  for (const vault::Field field : vault::kSearchedFields) offered << vault::FieldName(field);
  const QString name = invocation.values.value("--field", offered.first());
  if (!offered.contains(name)) throw UsageError("--field 只能是 " + offered.join("|") + ".");
  const QString& keyword = invocation.arguments[0];
  if (keyword.isEmpty()) throw UsageError("请输入搜索关键词！");
  const std::vector<vault::Record> found = vault.recordsMatching(*vault::FieldNamed(name), keyword);
  if (found.empty()) throw UsageError("对不起没有找到相关信息！");
  PrintListing(found);
  return kSuccess;
}

}  // namespace

extern const Command kSearch{
    .name = "search",
    .fewestArguments = 1,
    .mostArguments = 1,
    .valued = {"--field"},
    .usage = "search [--field 标题|网址|帐号|备注] 关键词",
    .description = "列出所选字段包含关键词的记录(默认 标题), 格式同 ls.",
    .run = RunSearch,
};

}  // namespace cli::commands
