#include "cli/record_lookup.h"

#include <QStringList>

#include "cli/cli_error.h"
#include "cli/record_output.h"
#include "vault/categories.h"

namespace cli {

vault::Record FindRecord(vault::Vault& vault, const QString& query) {
  if (std::optional<vault::Record> numbered = vault.record(query)) return *std::move(numbered);
  const std::vector<vault::Record> found = vault.recordsMatching(vault::Field::kTitle, query);
  if (found.empty()) throw UsageError("对不起没有找到相关信息！");
  if (found.size() > 1) {
    PrintListing(found);
    throw UsageError(QString("标题中包含\"%1\"的记录共有%2条, 请用编号指明.").arg(query).arg(found.size()));
  }
  std::optional<vault::Record> whole = vault.record(found.front().number);
  if (!whole) throw UsageError("对不起没有找到相关信息！");
  return *std::move(whole);
}

QString ExistingCategory(vault::Vault& vault, const QString& typed) {
  QStringList categories;
  for (const vault::Vault::CategoryCount& category : vault.categoryCounts()) categories << category.name;
  for (const QString& category : categories)
    if (!typed.isEmpty() && vault::SameCategory(category, typed)) return category;
  throw Failure("请选择分类.\n现有分类: " + categories.join(", "));
}

}  // namespace cli
