#include "app/file_protection.h"

#include <memory>
#include <optional>

#include "app/background_work.h"
#include "platform/dialogs.h"
#include "vault/master_password_rules.h"
#include "vault/vault.h"
#include "widgets/handler_guard.h"

namespace app {

bool AcceptsWeakProtection(platform::Dialogs& dialogs, const QString& caption, const QString& master) {
  return !vault::IsWeakMasterPassword(master.toStdString()) ||
         dialogs.confirm(caption, QString("管理密码仍是 %1 或短于 %2 个字符, 加密后的文件也容易被猜出.\n仍要加密吗?")
                                      .arg(QString::fromUtf8(vault::kInitialMasterPassword))
                                      .arg(vault::kShortestStrongMasterPassword));
}

void ProtectInBackground(BackgroundWork& work, platform::Dialogs& dialogs, vault::Vault& vault,
                         login::SessionKeys& keys, const QString& master, bool withBackups,
                         std::function<void()> after) {
  auto outcome = std::make_shared<std::optional<vault::Vault::Protection>>();
  work.start(
      "正在加密数据库文件...", [outcome, run = vault.protectionWork(master, withBackups)] { *outcome = run(); },
      [outcome, &dialogs, &vault, &keys, withBackups, after = std::move(after)](const QString& error) {
        widgets::Guarded(dialogs, [&] {
          if (!outcome->has_value()) return dialogs.message("加密失败, 数据库文件保持原样.\n" + error);
          const int backups = (*outcome)->backupsProtected;
          const int failed = (*outcome)->backupsFailed;
          vault.holdProtection(std::move(**outcome));
          keys.fileProtected();
          dialogs.message(QString("数据库文件和 %1 个备份已用管理密码加密.").arg(backups));
          if (!withBackups) dialogs.message("未加密的备份仍能读出当前的管理密码和全部帐号密码.");
          if (failed > 0)
            dialogs.message(QString("有 %1 个备份未能加密, 它们仍能读出当前的管理密码和全部帐号密码.").arg(failed));
        });
        after();
      });
}

}  // namespace app
