#include "transfer/import_summary.h"

#include <QStringList>
#include <algorithm>

namespace transfer {

namespace {

// More would not fit on the screen; the count says how many there are.
constexpr std::size_t kUnreadableShown = 10;

}  // namespace

QString ImportSummary(const ImportPlan& plan) {
  QStringList lines;
  lines << "文件格式: " + FormatName(plan.format);
  lines << QString("将添加 %1 条记录, %2 个新分类.").arg(plan.records.size()).arg(plan.newCategories.size());
  if (plan.duplicates > 0) lines << QString("跳过 %1 条重复的记录.").arg(plan.duplicates);
  if (plan.otherTypes > 0) lines << QString("跳过 %1 条不是登录类型的记录.").arg(plan.otherTypes);
  if (!plan.unreadable.empty()) {
    lines << QString("%1 行无法读取:").arg(plan.unreadable.size());
    const std::size_t shown = std::min(plan.unreadable.size(), kUnreadableShown);
    for (std::size_t i = 0; i < shown; ++i)
      lines << QString("第%1行: %2").arg(plan.unreadable[i].line).arg(plan.unreadable[i].reason);
    if (plan.unreadable.size() > shown) lines << "……";
  }
  return lines.join('\n');
}

}  // namespace transfer
