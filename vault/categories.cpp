#include "vault/categories.h"

namespace vault {

bool SameCategory(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QString CategoryIdentity(const QString& name) { return name.toCaseFolded(); }

qsizetype FindCategory(const QStringList& names, const QString& name) {
  for (qsizetype i = 0; i < names.size(); ++i)
    if (SameCategory(names[i], name)) return i;
  return -1;
}

QString NewCategoryNameProblem(const QString& name, const QStringList& listed) {
  if (name.size() < kShortestCategoryName) return "分类名称必须大于等于4个字符";
  if (FindCategory(listed, name) >= 0) return "该分类已经存在.";
  return {};
}

}  // namespace vault
