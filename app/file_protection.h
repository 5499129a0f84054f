#pragma once
// Turning the database file's protection on from the windows: the derivation and the rewrite run on
// the background worker while the windows take no input, and a message tells how it ended.
#include <QString>
#include <functional>

#include "login/session_keys.h"

namespace platform {
class Dialogs;
}
namespace vault {
class Vault;
}

namespace app {

class BackgroundWork;

inline const QString kForgottenMasterPassword = QStringLiteral("忘记管理密码后, 任何人都无法恢复数据.");

// Whether the user, told what a weak master password means for a protected file, still wants it.
bool AcceptsWeakProtection(platform::Dialogs& dialogs, const QString& caption, const QString& master);

// Protects the file (and the folder's fixed-key backups, when asked) with the master password, then
// runs `after`, also when it failed.
void ProtectInBackground(BackgroundWork& work, platform::Dialogs& dialogs, vault::Vault& vault,
                         login::SessionKeys& keys, const QString& master, bool withBackups,
                         std::function<void()> after);

}  // namespace app
