// The clock text that stamps the backups, and compaction of the database file.
#include <filesystem>

#include "app/tform1.h"
#include "platform/dialogs.h"
#include "widgets/panel_status_bar.h"

namespace app {

QString TForm1::clockText() const { return StatusBar1->panelText(2); }

void TForm1::Button11Click() {
  if (!std::filesystem::exists(vault_.databaseFile())) return services_.dialogs.message("没有发现数据库\"_.udb\"文件.");
  services_.dialogs.message(vault_.compact() ? "数据库压缩完成." : "数据库压缩失败.");
}

}  // namespace app
