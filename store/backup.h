#pragma once
// Time-stamped copies of the database file, taken before destructive operations.
#include <string>
#include <string_view>

#include "store/connection.h"

namespace store {

inline constexpr std::string_view kCategoryBackupPrefixStart = "删除[";
inline constexpr std::string_view kCategoryBackupPrefixEnd = "]分类前备份_bak_";
inline constexpr std::string_view kPasswordBackupPrefix = "修改密码前备份_bak_";

// The clock text with every ':', ' ', '-' and '/' removed.
std::string BackupStamp(std::string_view clockText);

// "删除[" + category + "]分类前备份_bak_"
std::string CategoryBackupPrefix(std::string_view category);

// programFolder + prefix + stamp + "_.udb", from the second copy on with "_<copy>" after the
// stamp; characters that cannot stand in a file name are replaced by '_' and an overlong prefix
// is shortened, so that the copy can really be made. A database with another name than "_.udb"
// ends its backups in "_" + its name, so they are told apart from those of the folder's "_.udb".
std::string BackupFileName(std::string_view programFolder, std::string_view prefix, std::string_view clockText,
                           int copy = 1, std::string_view databaseName = kDatabaseFileName);

// Copies programFolder + databaseName to the first BackupFileName(..., copy) not yet taken, so
// an earlier backup is never replaced. The copy is readable by the user alone.
// Returns whether the complete copy was written.
bool TakeBackup(std::string_view programFolder, std::string_view prefix, std::string_view clockText,
                std::string_view databaseName = kDatabaseFileName);

}  // namespace store
