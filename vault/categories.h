#pragma once
// What a category name may be and when two names are one category, for the window, the import
// and keyhaven-cli alike.
#include <QString>
#include <QStringList>

namespace vault {

// In UTF-16 code units; a name typed for a new or renamed category has at least this many.
inline constexpr qsizetype kShortestCategoryName = 4;

// Names that differ only in letter case are one category.
bool SameCategory(const QString& a, const QString& b);
// The same text for every name of one category, to find it by in a hash.
QString CategoryIdentity(const QString& name);
// The place in `names` of the name that is the same category as `name`; -1 when none is.
qsizetype FindCategory(const QStringList& names, const QString& name);

// Why a name typed for a new or renamed category is refused, in the window's words; empty when
// it may be used. `listed` are the categories there are.
QString NewCategoryNameProblem(const QString& name, const QStringList& listed);

}  // namespace vault
