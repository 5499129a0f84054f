#pragma once
// Which record a command's QUERY names, and the categories a typed record may take.
#include <QString>

#include "vault/vault.h"

namespace cli {

// The record, whole: a QUERY of digits names a record number; otherwise, or with no such
// record, the one record whose title contains QUERY. Throws CliError (kUsage) when there is
// none, and after printing them when there are several.
vault::Record FindRecord(vault::Vault& vault, const QString& query);

// The existing category the typed name means (letter case aside), in its stored spelling.
// Throws CliError (kFailure) with "请选择分类." and the categories when there is none.
QString ExistingCategory(vault::Vault& vault, const QString& typed);

}  // namespace cli
