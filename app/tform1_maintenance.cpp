// Backups before destructive operations, and compaction of the database file.
#include <filesystem>

#include "app/tform1.h"
#include "platform/dialogs.h"
#include "store/backup.h"
#include "store/compaction.h"
#include "widgets/panel_status_bar.h"

bool TForm1::takeBackup(const std::string& prefix) {
  return store::TakeBackup(programFolder_.toStdString(), prefix, StatusBar1->panelText(2).toStdString());
}

void TForm1::Button11Click() {
  const std::string database = programFolder_.toStdString() + std::string(store::kDatabaseFileName);
  if (!std::filesystem::exists(database)) return services_.dialogs.message("没有发现数据库\"_.udb\"文件.");
  for (store::Query* query : {&ADOQuery1, &ADOQuery2, &ADOQuery_Pass, &ADOQuery_EnCrypt}) query->close();
  ADOConnection1.close();
  bool compacted = store::CompactDatabaseFile(database, std::string(store::kDatabasePassword));
  services_.dialogs.message(compacted ? "数据库压缩完成." : "数据库压缩失败.");
}
