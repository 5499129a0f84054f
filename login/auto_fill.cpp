// The hot-key handler: enters the picked record's account name or password into whatever
// window has the focus, by pasting or by keystrokes.
#include <QThread>

#include "input/send_keys.h"
#include "login/tform2.h"
#include "platform/beeper.h"
#include "platform/dialogs.h"
#include "platform/key_sink.h"

namespace {

constexpr unsigned long kPasteDelayMs = 800;
constexpr unsigned long kKeyDelayMs = 300;
constexpr std::uint8_t kVkControl = 17;
constexpr std::uint8_t kVkV = 86;

// The user's own keys of the hot key would combine with what we send (Ctrl+Q instead of q), so
// nothing is sent until they are up; a user who keeps holding them gets nothing typed.
bool KeysLetGo(platform::Services& services, LoginHost& host) {
  if (input::WaitForKeyRelease(services.keySink)) return true;
  services.beeper.beep();
  host.showStatus("按键未松开,没有自动输入.");
  return false;
}

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
  if (!KeysLetGo(services_, host_)) return;
  auto& keys = services_.keySink;
  keys.keyDown(kVkControl, false);
  keys.keyDown(kVkV, false);
  QThread::msleep(kKeyDelayMs);
  keys.keyUp(kVkV, false);
  keys.keyUp(kVkControl, false);
}

void TForm2::typeIntoFocusedWindow(const QString& value) {
  // Half a password typed would go on into whatever gets the focus behind a message box.
  if (!input::CanTypeLiterally(services_.keySink, services_.dialogs, value)) return;
  if (!KeysLetGo(services_, host_)) return;
  // The stored value is text, not key language: + ^ % ~ ( ) { } must type themselves.
  input::SendKeys(services_.keySink, services_.dialogs, input::EscapeForKeyLanguage(value), true);
}
