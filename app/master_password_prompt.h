#pragma once
// Asking for the master password once more before an operation that gives much away.
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

inline const QString kVerifyingMasterPassword = QStringLiteral("正在验证管理密码...");

// Shows a text in the window's status bar at once: a derivation on the window's thread follows.
using StatusNote = std::function<void(const QString& text)>;

// "正在验证管理密码..." while it lives, when a protected file's key is derived.
class VerifyingNote {
 public:
  VerifyingNote(StatusNote note, bool derives);
  ~VerifyingNote();
  VerifyingNote(const VerifyingNote&) = delete;
  VerifyingNote& operator=(const VerifyingNote&) = delete;

 private:
  StatusNote note_;
};

// The typed master password once it matches the login's; empty when cancelled, or when wrong
// after the message "管理密码错误.". A protected file's check is noted while it derives.
QString AskMasterPasswordAgain(platform::Dialogs& dialogs, const vault::Vault& vault, const login::SessionKeys& keys,
                               const QString& caption, const StatusNote& note);

}  // namespace app
