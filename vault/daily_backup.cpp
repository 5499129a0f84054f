#include "vault/daily_backup.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfoList>
#include <algorithm>

#include "store/backup.h"

namespace vault {
namespace {

// The folder's daily backups, newest first. Links are left out: removing one would not free
// the copy, and what it points to is not ours to remove.
QFileInfoList DailyBackups(const QString& folder) {
  return QDir(folder).entryInfoList({QString(kDailyBackupPrefix) + "*_.udb"},
                                    QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Time);
}

void KeepNewest(const QString& folder, int keep) {
  const QFileInfoList backups = DailyBackups(folder);
  // A file that cannot be removed now is tried again at the next day's backup.
  for (qsizetype i = keep; i < backups.size(); ++i) QFile::remove(backups[i].filePath());
}

}  // namespace

DailyBackupOutcome TakeDailyBackup(const QString& folder, const QString& clockText, const QDate& today, int keep) {
  if (keep <= 0) return DailyBackupOutcome::Off;
  const QFileInfoList backups = DailyBackups(folder);
  const bool takenToday =
      std::ranges::any_of(backups, [&](const QFileInfo& backup) { return backup.lastModified().date() == today; });
  DailyBackupOutcome outcome = DailyBackupOutcome::AlreadyToday;
  if (!takenToday) {
    const bool copied = store::TakeBackup(folder.toStdString(), kDailyBackupPrefix, clockText.toStdString());
    outcome = copied ? DailyBackupOutcome::Taken : DailyBackupOutcome::Failed;
  }
  KeepNewest(folder, keep);
  return outcome;
}

}  // namespace vault
