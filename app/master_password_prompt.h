#pragma once
// Asking for the master password once more before an operation that gives much away.
#include <QString>

#include "login/session_keys.h"

namespace platform {
class Dialogs;
}
namespace vault {
class Vault;
}

// The typed master password once it matches the login's; empty when cancelled, or when wrong
// after the message "管理密码错误.".
QString AskMasterPasswordAgain(platform::Dialogs& dialogs, const vault::Vault& vault, const SessionKeys& keys,
                               const QString& caption);
