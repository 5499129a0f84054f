#include "cli/record_lookup.h"

#include <QRegularExpression>

#include "cli/cli_error.h"
#include "cli/record_output.h"
#include "vault/categories.h"

namespace cli {

int FindRecord(vault::Vault& vault, const QString& query) {
  static const QRegularExpression digits("^[0-9]+$");
  if (digits.match(query).hasMatch()) {
    vault.listByUsage();
    if (const int row = vault.listing().rowOf(query.toStdString()); row >= 0) return row;
  }
  const int found = vault.listMatching("标题", query);
  if (found == 0) throw UsageError("对不起没有找到相关信息！");
  if (found > 1) {
    PrintListing(vault.listing());
    throw UsageError(QString("标题中包含\"%1\"的记录共有%2条, 请用编号指明.").arg(query).arg(found));
  }
  return 0;
}

QString ExistingCategory(vault::Vault& vault, const QString& typed) {
  vault.listByUsage();
  const QStringList categories = vault.categoriesOfListing();
  for (const QString& category : categories)
    if (!typed.isEmpty() && vault::SameCategory(category, typed)) return category;
  throw Failure("请选择分类.\n现有分类: " + categories.join(", "));
}

}  // namespace cli
