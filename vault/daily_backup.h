#pragma once
// One copy of the database file a day, of which only the newest few are kept.
#include <QDate>
#include <QString>

namespace vault {

inline constexpr const char* kDailyBackupPrefix = "每日备份_bak_";

enum class DailyBackupOutcome { Taken, AlreadyToday, Off, Failed };

// Copies folder + "_.udb" to folder + "每日备份_bak_<stamp>_.udb" (stamped from the clock text as
// the other backups are) unless a daily backup in the folder was modified on `today`, then
// removes all but the newest `keep` daily backups by modification time. Other backups are never
// touched. keep 0 turns daily backups off: nothing is copied or removed. folder ends in '/'.
DailyBackupOutcome TakeDailyBackup(const QString& folder, const QString& clockText, const QDate& today, int keep);

}  // namespace vault
