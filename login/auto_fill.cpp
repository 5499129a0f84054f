// The hot-key handler: enters the picked record's account name or password into whatever
// window has the focus, by pasting or by keystrokes.
#include <QThread>
#include <algorithm>

#include "input/hot_key_arming.h"
#include "input/send_keys.h"
#include "login/tform2.h"
#include "platform/beeper.h"
#include "platform/dialogs.h"
#include "platform/input_method.h"
#include "platform/key_sink.h"

namespace login {

namespace {

constexpr unsigned long kPasteDelayMs = 800;
constexpr unsigned long kKeyDelayMs = 300;
// The focused window may still be handling the last keys when typing ends; switched back before
// they arrive, the input method would compose them. A window passes each key through the input
// method's framework in turn, so a long value takes longer to arrive.
constexpr unsigned long kSettlePerCharacterMs = 4;

const QString kPastedInstead = QStringLiteral("输入法处于中文状态, 已改用粘贴方式输入.");
const QString kNotTyped = QStringLiteral("输入法处于中文状态, 没有自动输入.");
const QString kNotSwitchedBack = QStringLiteral("输入法未能恢复中文状态, 请手动切换.");
const QString kNotAscii = QStringLiteral("内容含中文等非ASCII字符, 已改用粘贴方式输入.");
const QString kNotAllowed = QStringLiteral("桌面未允许模拟键盘输入, 没有自动输入.");
const QString kNoPortal = QStringLiteral("未找到桌面的远程桌面接口(xdg-desktop-portal), 没有自动输入.");

// The user's own keys of the hot key would combine with what we send (Ctrl+Q instead of q), so
// nothing is sent until they are up; a user who keeps holding them gets nothing typed.
bool KeysLetGo(platform::Services& services, LoginHost& host) {
  if (input::WaitForKeyRelease(services.keySink)) return true;
  services.beeper.beep();
  host.showStatus("按键未松开,没有自动输入.");
  return false;
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

// The key sink's part of one fill: opened before anything is sent (the desktop may ask the user
// first), and whatever it holds let go at the end.
class SinkFill {
 public:
  explicit SinkFill(platform::KeySink& sink) : sink_(sink) {
    sink.startFill([this](platform::FillReadiness readiness) { readiness_ = readiness; });
  }
  ~SinkFill() {
    if (ready()) sink_.fillEnded();
  }
  SinkFill(const SinkFill&) = delete;
  SinkFill& operator=(const SinkFill&) = delete;

  bool ready() const {
    return readiness_ != platform::FillReadiness::kRefused && readiness_ != platform::FillReadiness::kUnavailable;
  }
  bool pastes() const { return readiness_ != platform::FillReadiness::kTypingOnly; }
  // A character the focused window's layout lacks would be dropped without a word: pasted, the
  // value arrives exactly.
  bool typesExactly(const QString& value) const {
    return readiness_ != platform::FillReadiness::kPrintableAsciiOnly ||
           std::all_of(value.begin(), value.end(), [](QChar c) { return platform::IsPrintableAscii(c.unicode()); });
  }
  QString refusal() const { return readiness_ == platform::FillReadiness::kRefused ? kNotAllowed : kNoPortal; }

 private:
  platform::KeySink& sink_;
  platform::FillReadiness readiness_ = platform::FillReadiness::kRefused;
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
  const SinkFill sink(services_.keySink);
  if (!sink.ready()) {
    host_.showStatus(sink.refusal());
    return;
  }
  if (!host_.pasteStyleSelected() || !sink.pastes()) {
    QThread::msleep(kKeyDelayMs);
    const QString& value = forAccount ? account : password;
    const bool exact = sink.typesExactly(value);
    const platform::InputMethodState inputMethod = services_.inputMethod.state();
    if (exact && inputMethod != platform::InputMethodState::kUnswitchable) {
      // Half a password typed would go on into whatever gets the focus behind a message box; and
      // the input method is switched back in the window that has the focus then, so nothing is
      // switched before the value is known to be typable.
      if (!input::CanTypeLiterally(services_.keySink, services_.dialogs, value)) return;
      DirectInput directInput(services_.inputMethod, host_, inputMethod == platform::InputMethodState::kActive, value);
      if (directInput.granted()) {
        typeIntoFocusedWindow(value);
        return;
      }
    }
    // Typed through an input method we cannot switch, the value would arrive as Chinese text.
    if (!sink.pastes()) {
      host_.showStatus(kNotTyped);
      return;
    }
    host_.showStatus(exact ? kPastedInstead : kNotAscii);
  }
  forAccount ? host_.copyAccountToClipboard() : host_.copyPasswordToClipboard();
  QThread::msleep(kPasteDelayMs);
  pasteIntoFocusedWindow();
}

void TForm2::pasteIntoFocusedWindow() {
  if (!KeysLetGo(services_, host_)) return;
  auto& keys = services_.keySink;
  keys.keyDown(platform::kVkControl, false);
  keys.keyDown(platform::kVkV, false);
  QThread::msleep(kKeyDelayMs);
  keys.keyUp(platform::kVkV, false);
  keys.keyUp(platform::kVkControl, false);
}

void TForm2::typeIntoFocusedWindow(const QString& value) {
  if (!KeysLetGo(services_, host_)) return;
  // The stored value is text, not key language: + ^ % ~ ( ) { } must type themselves.
  input::SendKeys(services_.keySink, services_.dialogs, input::EscapeForKeyLanguage(value), true);
}

}  // namespace login
