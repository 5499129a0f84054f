// One backup of the database a day: at the day's first login, and at midnight while unlocked.
#include "app/tform1.h"
#include "settings/settings_file.h"
#include "vault/daily_backup.h"
#include "widgets/panel_status_bar.h"

namespace app {

void TForm1::takeDailyBackupIfDue() {
  const QDate today = QDate::currentDate();
  // An import's records are not all in the file before its transaction ends; the next tick tries again.
  if (dailyBackupDay_ == today || importRunning_) return;
  dailyBackupDay_ = today;  // a failure is told once, not at every tick
  const int keep = settings::SettingsFile(programFolder_).read().dailyBackups;
  if (vault::TakeDailyBackup(programFolder_, clockText(), today, keep) == vault::DailyBackupOutcome::Failed)
    StatusBar1->setPanelText(0, "每日备份失败, 请检查数据文件夹的空间和权限.");
}

}  // namespace app
