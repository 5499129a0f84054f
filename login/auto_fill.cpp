// The hot-key handler: enters the picked record's account name or password into whatever
// window has the focus, by pasting or by keystrokes.
#include <QThread>
#include <memory>

#include "input/hot_key_arming.h"
#include "input/send_keys.h"
#include "login/tform2.h"
#include "platform/beeper.h"
#include "platform/dialogs.h"
#include "platform/input_method.h"
#include "platform/key_sink.h"
#include "platform/session_type.h"
#include "platform/wayland/wayland_virtual_keyboard.h"
#include "platform/x11/x11_focus.h"

namespace {

constexpr unsigned long kPasteDelayMs = 800;
constexpr unsigned long kKeyDelayMs = 300;
constexpr std::uint8_t kVkControl = 17;
constexpr std::uint8_t kVkV = 86;
// The focused window may still be handling the last keys when typing ends; switched back before
// they arrive, the input method would compose them. A window passes each key through the input
// method's framework in turn, so a long value takes longer to arrive.
constexpr unsigned long kSettlePerCharacterMs = 4;

const QString kPastedInstead = QStringLiteral("输入法处于中文状态, 已改用粘贴方式输入.");
const QString kNotSwitchedBack = QStringLiteral("输入法未能恢复中文状态, 请手动切换.");

// The user's own keys of the hot key would combine with what we send (Ctrl+Q instead of q), so
// nothing is sent until they are up; a user who keeps holding them gets nothing typed.
bool KeysLetGo(platform::KeySink& keys, platform::Services& services, LoginHost& host) {
  if (input::WaitForKeyRelease(keys)) return true;
  services.beeper.beep();
  host.showStatus("按键未松开,没有自动输入.");
  return false;
}

// The keys of one fill go where the focused window reads them: a native window of a Wayland
// desktop gets them through the compositor's virtual keyboard where it offers one (XTest reaches
// XWayland windows only); X11 and XWayland windows through the desktop's own sink.
platform::KeySink& KeySinkForFill(platform::KeySink& desktopSink, std::unique_ptr<platform::KeySink>& opened) {
  if (platform::IsWaylandSession() && !platform::x11::X11WindowFocused()) {
    opened = platform::wayland::WaylandVirtualKeyboard::open();
    if (opened) return *opened;
  }
  return desktopSink;
}

// An active input method would turn the typed keys into pinyin and Chinese punctuation: it gets
// direct input for the time of one fill and is switched back as it was, whatever the typing did.
class DirectInput {
 public:
  DirectInput(platform::InputMethod& inputMethod, LoginHost& host, bool active, const QString& value)
      : inputMethod_(inputMethod),
        host_(host),
        settleMs_(kKeyDelayMs + kSettlePerCharacterMs * static_cast<unsigned long>(value.size())),
        switched_(active && inputMethod_.switchToDirectInput()),
        granted_(!active || switched_) {}
  ~DirectInput() {
    if (!switched_) return;
    QThread::msleep(settleMs_);
    if (!inputMethod_.switchBack()) host_.showStatus(kNotSwitchedBack);
  }
  DirectInput(const DirectInput&) = delete;
  DirectInput& operator=(const DirectInput&) = delete;

  bool granted() const { return granted_; }

 private:
  platform::InputMethod& inputMethod_;
  LoginHost& host_;
  unsigned long settleMs_;
  bool switched_;
  bool granted_;
};

// The armed time may run out while a fill types; the keys are let go when it ends.
class FillUnderway {
 public:
  explicit FillUnderway(input::HotKeyArming& arming) : arming_(arming) { arming_.fillStarted(); }
  ~FillUnderway() { arming_.fillEnded(); }
  FillUnderway(const FillUnderway&) = delete;
  FillUnderway& operator=(const FillUnderway&) = delete;

 private:
  input::HotKeyArming& arming_;
};

}  // namespace

void TForm2::WMHotKey(int id) {
  const FillUnderway fill(*arming_);
  const QString account = host_.autoFillAccount();
  const QString password = host_.autoFillPassword();
  if (account.isEmpty() || password.isEmpty()) {
    services_.dialogs.message("请先选择一组帐号,才能自动输入账户密码.!");
    return;
  }
  if (id != kAccountHotKeyId && id != kPasswordHotKeyId) return;
  const bool forAccount = id == kAccountHotKeyId;
  std::unique_ptr<platform::KeySink> opened;
  platform::KeySink& keys = KeySinkForFill(services_.keySink, opened);
  // A wlroots compositor hands XWayland's clipboard to no native window, so Ctrl+V there would
  // paste whatever the clipboard held before; its virtual keyboard types every character instead.
  if (!host_.pasteStyleSelected() || opened) {
    QThread::msleep(kKeyDelayMs);
    const QString& value = forAccount ? account : password;
    const platform::InputMethodState inputMethod = services_.inputMethod.state();
    if (inputMethod != platform::InputMethodState::kUnswitchable) {
      // Half a password typed would go on into whatever gets the focus behind a message box; and
      // the input method is switched back in the window that has the focus then, so nothing is
      // switched before the value is known to be typable.
      if (!input::CanTypeLiterally(keys, services_.dialogs, value)) return;
      DirectInput directInput(services_.inputMethod, host_, inputMethod == platform::InputMethodState::kActive, value);
      if (directInput.granted()) {
        typeIntoFocusedWindow(keys, value);
        return;
      }
    }
    // Typed through an input method we cannot switch, the value would arrive as Chinese text.
    host_.showStatus(kPastedInstead);
  }
  forAccount ? host_.copyAccountToClipboard() : host_.copyPasswordToClipboard();
  QThread::msleep(kPasteDelayMs);
  pasteIntoFocusedWindow(keys);
}

void TForm2::pasteIntoFocusedWindow(platform::KeySink& keys) {
  if (!KeysLetGo(keys, services_, host_)) return;
  keys.keyDown(kVkControl, false);
  keys.keyDown(kVkV, false);
  QThread::msleep(kKeyDelayMs);
  keys.keyUp(kVkV, false);
  keys.keyUp(kVkControl, false);
}

void TForm2::typeIntoFocusedWindow(platform::KeySink& keys, const QString& value) {
  if (!KeysLetGo(keys, services_, host_)) return;
  // The stored value is text, not key language: + ^ % ~ ( ) { } must type themselves.
  input::SendKeys(keys, services_.dialogs, input::EscapeForKeyLanguage(value), true);
}
