// The hot-key handler: enters the picked record's account name or password into whatever
// window has the focus, by pasting or by keystrokes.
#include <QThread>

#include "input/send_keys.h"
#include "login/tform2.h"
#include "platform/dialogs.h"
#include "platform/key_sink.h"

namespace {

constexpr unsigned long kPasteDelayMs = 800;
constexpr unsigned long kKeyDelayMs = 300;
constexpr std::uint8_t kVkControl = 17;
constexpr std::uint8_t kVkV = 86;

}  // namespace

void TForm2::WMHotKey(int id) {
  const QString account = host_.autoFillAccount();
  const QString password = host_.autoFillPassword();
  if (account.isEmpty() || password.isEmpty()) {
    services_.dialogs.message("请先选择一组帐号,才能自动输入账户密码.!");
    return;
  }
  if (id != kAccountHotKeyId && id != kPasswordHotKeyId) return;
  const bool forAccount = id == kAccountHotKeyId;
  if (host_.pasteStyleSelected()) {
    forAccount ? host_.copyAccountToClipboard() : host_.copyPasswordToClipboard();
    QThread::msleep(kPasteDelayMs);
    pasteIntoFocusedWindow();
  } else {
    QThread::msleep(kKeyDelayMs);
    typeIntoFocusedWindow(forAccount ? account : password);
  }
}

void TForm2::pasteIntoFocusedWindow() {
  auto& keys = services_.keySink;
  // The user's own Ctrl of the hot key would combine with what we send.
  input::WaitForControlRelease(keys);
  keys.keyDown(kVkControl, false);
  keys.keyDown(kVkV, false);
  QThread::msleep(kKeyDelayMs);
  keys.keyUp(kVkV, false);
  keys.keyUp(kVkControl, false);
}

void TForm2::typeIntoFocusedWindow(const QString& value) {
  input::WaitForControlRelease(services_.keySink);
  // The stored value is text, not key language: + ^ % ~ ( ) { } must type themselves.
  input::SendKeys(services_.keySink, services_.dialogs, input::EscapeForKeyLanguage(value), true);
}
