#include "app/program_folder.h"

#include <cstring>

#include "platform/dialogs.h"

namespace app {

void ProvideInitialDatabase(const vault::ProgramFolderLayout& layout, platform::Dialogs& dialogs) {
  const vault::FirstStartResult result = vault::ProvideInitialDatabase(layout);
  switch (result.outcome) {
    case vault::FirstStart::NothingToDo:
      return;
    case vault::FirstStart::DatabaseCopied:
      dialogs.message("已在 " + layout.folder + " 建立新的数据库, 初始管理密码为 123456, 请登录后立即修改.");
      return;
    case vault::FirstStart::CopyFailed:
      dialogs.error("无法在 " + layout.folder + " 建立数据库: " + QString::fromLocal8Bit(std::strerror(result.error)) +
                    " (安装提供的数据库: " + layout.suppliedDatabase + ")");
      return;
  }
}

}  // namespace app
