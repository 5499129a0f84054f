#include "login/tform2.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "input/fill_engine.h"
#include "input/hot_key_arming.h"
#include "input/shortcut_fill.h"
#include "login/protected_login.h"
#include "platform/dialogs.h"
#include "platform/global_shortcuts.h"
#include "platform/hot_key_text.h"
#include "platform/hot_keys.h"
#include "platform/key_sink.h"
#include "vault/master_password.h"
#include "vault/master_password_rules.h"
#include "widgets/concealed_edit.h"
#include "widgets/handler_guard.h"
#include "widgets/panel_status_bar.h"
#include "widgets/password_key_filter.h"

namespace login {

namespace {

// A click into the password box empties it.
class ClearOnClick : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress)
      if (auto* edit = qobject_cast<QLineEdit*>(watched)) edit->clear();
    return QObject::eventFilter(watched, event);
  }
};

// The window keeps its fixed size; the hint of the initial password adds one line.
constexpr int kWidth = 260;
constexpr int kHeight = 147;
constexpr int kHeightWithHint = 167;

const QString kDisarmedStatus = QStringLiteral("热键已停用, 单击记录重新启用.");

// The desktop's global shortcuts, by the ids it knows them by.
const QString kAccountShortcut = QStringLiteral("account");
const QString kPasswordShortcut = QStringLiteral("password");
constexpr std::chrono::seconds kShortcutReleaseLimit{5};

}  // namespace

TForm2::TForm2(platform::Services& services, SessionKeys& keys, LoginHost& host)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      services_(services),
      keys_(keys),
      host_(host) {
  setObjectName("TForm2");
  setWindowTitle("管理登录");
  setFixedSize(kWidth, kHeight);

  GroupBox1 = new QGroupBox(this);
  GroupBox1->setObjectName("GroupBox1");
  Label1 = new QLabel("请输入管理密码：", GroupBox1);
  Label1->setObjectName("Label1");
  Edit_LoginPass = new QLineEdit(GroupBox1);
  Edit_LoginPass->setObjectName("Edit_LoginPass");
  Edit_LoginPass->setEchoMode(QLineEdit::Password);
  Edit_LoginPass->setFixedWidth(220);
  Edit_LoginPass->setAttribute(Qt::WA_InputMethodEnabled, false);
  Edit_LoginPass->setAccessibleName("请输入管理密码：");
  Label1->setBuddy(Edit_LoginPass);
  initialPasswordHint_ = new QLabel("初始管理密码为 123456", GroupBox1);
  initialPasswordHint_->setObjectName("Label_InitialPassword");
  initialPasswordHint_->hide();
  Button_Logining = new QPushButton("进入", GroupBox1);
  Button_Logining->setObjectName("Button_Logining");
  Button2 = new QPushButton("退出", GroupBox1);
  Button2->setObjectName("Button2");
  Edit_Error = new QLineEdit("0", this);
  Edit_Error->setObjectName("Edit_Error");
  Edit_Error->hide();
  Edit_LoginPass_Temp = new QLineEdit(this);
  Edit_LoginPass_Temp->setObjectName("Edit_LoginPass_Temp");
  // The lock mark is the master password's cipher text.
  widgets::ConcealFromAccessibility(Edit_LoginPass_Temp);
  Edit_LoginPass_Temp->hide();
  StatusBar1 = new widgets::PanelStatusBar({50}, this);
  StatusBar1->setObjectName("StatusBar1");

  auto* box = new QVBoxLayout(GroupBox1);
  box->addWidget(Label1);
  box->addWidget(Edit_LoginPass, 0, Qt::AlignHCenter);
  box->addWidget(initialPasswordHint_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Button_Logining);
  buttons->addWidget(Button2);
  buttons->addStretch();
  box->addLayout(buttons);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(6, 4, 6, 0);
  outer->setSpacing(2);
  outer->addWidget(GroupBox1, 1);
  outer->addWidget(StatusBar1);

  setTabOrder(Edit_LoginPass, Button_Logining);
  setTabOrder(Button_Logining, Button2);

  keyFilter_ = new widgets::PasswordKeyFilter(services_.beeper, vault::IsMasterPasswordCharacter, this);
  keyFilter_->setEnterHandler([this] {
    if (!loginButtonIsDefault_) return false;
    Button_Logining->click();
    return true;
  });
  Edit_LoginPass->installEventFilter(keyFilter_);
  Edit_LoginPass->installEventFilter(new ClearOnClick(this));

  auto& dialogs = services_.dialogs;
  connect(Edit_LoginPass, &QLineEdit::textChanged, this,
          [this, &dialogs] { widgets::Guarded(dialogs, [this] { Edit_LoginPassChange(); }); });
  connect(Edit_Error, &QLineEdit::textChanged, this,
          [this, &dialogs] { widgets::Guarded(dialogs, [this] { Edit_ErrorChange(); }); });
  connect(Button_Logining, &QPushButton::clicked, this,
          [this, &dialogs] { widgets::Guarded(dialogs, [this] { Button_LoginingClick(); }); });
  protectedLogin_ = new ProtectedLogin(host_.vault(), this);
  connect(protectedLogin_, &ProtectedLogin::finished, this, [this, &dialogs](bool opened, const QString& error) {
    widgets::Guarded(dialogs, [this, opened, &error] { protectedLoginFinished(opened, error); });
  });
  connect(Button2, &QPushButton::clicked, this,
          [this, &dialogs] { widgets::Guarded(dialogs, [this] { Button2Click(); }); });
  connect(&services_.hotKeys, &platform::HotKeys::pressed, this,
          [this, &dialogs](int id) { widgets::Guarded(dialogs, [this, id] { WMHotKey(id); }); });
  arming_ = new input::HotKeyArming(this);
  arming_->setObjectName("HotKeyArming");
  connect(arming_, &input::HotKeyArming::ranOut, this,
          [this, &dialogs] { widgets::Guarded(dialogs, [this] { hotKeysRanOut(); }); });
  shortcutFill_ = new input::ShortcutFill(services_.globalShortcuts, *arming_, kShortcutReleaseLimit, this);
  connect(shortcutFill_, &input::ShortcutFill::disarmed, this, [this] { host_.showStatus(kDisarmedStatus); });
  connect(shortcutFill_, &input::ShortcutFill::heldTooLong, this,
          [this] { host_.showStatus("快捷键 5 秒内没有松开, 没有自动输入."); });
  connect(shortcutFill_, &input::ShortcutFill::released, this, [this, &dialogs](const QString& id) {
    widgets::Guarded(dialogs, [this, &id] {
      if (unlocked()) WMHotKey(id == kAccountShortcut ? kAccountHotKeyId : kPasswordHotKeyId);
    });
  });
  fillEngine_ = new input::FillEngine(services_.keySink, services_.inputMethod, services_.dialogs, services_.beeper,
                                      *arming_, this);
  fillEngine_->setObjectName("FillEngine");
  connect(fillEngine_, &input::FillEngine::status, this, [this](const QString& text) { host_.showStatus(text); });
}

TForm2::~TForm2() {
  fillEngine_->cancel();  // while the armed state it reports to still exists
  releaseHotKeys();
  services_.globalShortcuts.unbind();
}

void TForm2::present() {
  // A protected file cannot be asked without a derivation; its password is never the initial one.
  const bool initial = keys_.initialPasswordInForce();
  initialPasswordHint_->setVisible(initial);
  setFixedSize(kWidth, initial ? kHeightWithHint : kHeight);
  if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
  hide();
  show();
  raise();
  activateWindow();
  Edit_LoginPass->setFocus();
}

void TForm2::Edit_LoginPassChange() {
  loginButtonIsDefault_ = true;
  Button_Logining->setDefault(true);
}

void TForm2::Button_LoginingClick() {
  if (Edit_LoginPass->text().isEmpty()) {
    services_.dialogs.message("请输入密码...");
    return;
  }
  if (keys_.fileIsProtected()) {
    // Nothing takes input until the key is there: a second Enter would start a second derivation.
    Edit_LoginPass->setEnabled(false);
    Button_Logining->setEnabled(false);
    StatusBar1->setPanelText(0, "正在验证管理密码...");
    protectedLogin_->start(Edit_LoginPass->text());
    return;
  }
  if (vault::IsMasterPassword(Edit_LoginPass->text(), keys_.storedMasterPassword())) return loginSucceeded();
  countFailure();
}

void TForm2::protectedLoginFinished(bool opened, const QString& error) {
  Edit_LoginPass->setEnabled(true);
  Button_Logining->setEnabled(true);
  Edit_LoginPass->setFocus();
  StatusBar1->setPanelText(0, QString());
  if (!error.isEmpty()) return services_.dialogs.error(error);
  if (opened) return loginSucceeded();
  countFailure();
}

void TForm2::loginSucceeded() {
  close();
  host_.openAfterLogin();
  Edit_LoginPass->clear();
  markUnlocked();
  host_.showOnTaskbar();
  // The form is empty after a login: the hot keys wait for a pick.
  host_.loginCompleted();
}

void TForm2::countFailure() {
  Edit_Error->setText(QString::number(Edit_Error->text().toInt() + 1));
  StatusBar1->setPanelText(0, "密码错误..." + Edit_Error->text() + "次");
}

void TForm2::Edit_ErrorChange() {
  if (Edit_Error->text() == QString::number(kFailureLimit)) {
    services_.dialogs.message("由于您多次输入了无效的密码程序将要退出...");
    host_.closeMainWindow();
  }
}

void TForm2::Button2Click() { host_.closeMainWindow(); }

namespace {

bool RegisterCombination(platform::HotKeys& hotKeys, int id, const QString& portableText) {
  const std::optional<platform::HotKeyCombination> combination = platform::HotKeyFromText(portableText);
  return combination && hotKeys.registerHotKey(id, combination->modifiers, combination->virtualKey);
}

// The defaults keep the names the hint has always given them.
QString HotKeyName(const QString& portableText) {
  if (portableText == settings::HotKeySettings::kDefaultAccount) return "Ctrl + ←";
  if (portableText == settings::HotKeySettings::kDefaultPassword) return "Ctrl + →";
  return platform::NativeHotKeyText(portableText);
}

QString TakenMessage(const QStringList& taken) {
  return "热键 " + taken.join("、") + " 已被其他程序占用，无法用它自动输入。";
}

}  // namespace

void TForm2::registerHotKeys() {
  QStringList taken;
  if (!RegisterCombination(services_.hotKeys, kAccountHotKeyId, hotKeys_.account))
    taken << HotKeyName(hotKeys_.account);
  if (!RegisterCombination(services_.hotKeys, kPasswordHotKeyId, hotKeys_.password))
    taken << HotKeyName(hotKeys_.password);
  hotKeysRegistered_ = true;
  hotKeysSuspended_ = false;
  if (taken.isEmpty() || hotKeyConflictReported_) return;
  // Said once per run: without it the hot key would silently do nothing.
  hotKeyConflictReported_ = true;
  services_.dialogs.message(TakenMessage(taken));
}

void TForm2::armHotKeys() {
  if (!hotKeysRegistered_) registerHotKeys();
  arming_->arm();
}

bool TForm2::hotKeysArmed() const { return arming_->armed(); }

void TForm2::setHotKeyArmedMinutes(int minutes) { arming_->setArmedTime(std::chrono::minutes(minutes)); }

bool TForm2::unlocked() const { return !Edit_LoginPass_Temp->text().isEmpty(); }

void TForm2::forgetUnlock() {
  Edit_LoginPass_Temp->clear();
  // Whoever unlocks next is asked again before keys reach other programs.
  fillEngine_->cancel();
  services_.keySink.closeSession();
  shortcutFill_->cancel();
  services_.globalShortcuts.unbind();
}

void TForm2::markUnlocked() {
  Edit_LoginPass_Temp->setText(keys_.storedMasterPassword());
  bindDesktopShortcuts();
}

void TForm2::bindDesktopShortcuts() {
  // An editor key is no one's to take from every program: the user picks a key in the desktop's dialog.
  services_.globalShortcuts.bind({{kAccountShortcut, "输入帐号", platform::PortalTrigger(hotKeys_.account)},
                                  {kPasswordShortcut, "输入密码", platform::PortalTrigger(hotKeys_.password)}});
}

void TForm2::hotKeysRanOut() {
  releaseHotKeys();
  host_.showStatus(kDisarmedStatus);
}

TForm2::FillRequest TForm2::fillOnRequest(bool account, std::function<void(input::FillOutcome)> ended) {
  if (!unlocked()) return FillRequest::kLocked;  // the lock mark is gone while locked
  if (!hotKeysArmed()) {
    host_.showStatus(kDisarmedStatus);
    return FillRequest::kDisarmed;
  }
  widgets::Guarded(services_.dialogs,
                   [this, account, &ended] { fill(account ? kAccountHotKeyId : kPasswordHotKeyId, std::move(ended)); });
  return FillRequest::kStarted;
}

void TForm2::releaseHotKeys() {
  arming_->disarm();
  if (!hotKeysRegistered_) return;
  unregisterBoth();
  hotKeysRegistered_ = false;
  hotKeysSuspended_ = false;
}

void TForm2::unregisterBoth() {
  services_.hotKeys.unregisterHotKey(kAccountHotKeyId);
  services_.hotKeys.unregisterHotKey(kPasswordHotKeyId);
}

settings::HotKeySettings TForm2::changeHotKeys(const settings::HotKeySettings& chosen) {
  const settings::HotKeySettings before = hotKeys_;
  putInForce(chosen);
  // The desktop's shortcuts propose the keys in force; bound anew, they do so at once.
  if (unlocked() && hotKeys_ != before) {
    services_.globalShortcuts.unbind();
    bindDesktopShortcuts();
  }
  return hotKeys_;
}

void TForm2::putInForce(const settings::HotKeySettings& chosen) {
  if (!hotKeysRegistered_) {
    hotKeys_ = chosen;  // the next pick registers them
    return;
  }
  // Both go first: a swap of the two would otherwise meet its own other half.
  unregisterBoth();
  QStringList taken;
  hotKeys_.account = registerOrKeep(kAccountHotKeyId, hotKeys_.account, chosen.account, taken);
  // Kept, the old account key may be the chosen password key: the two must stay apart.
  const QString password = chosen.password == hotKeys_.account ? hotKeys_.password : chosen.password;
  hotKeys_.password = registerOrKeep(kPasswordHotKeyId, hotKeys_.password, password, taken);
  if (hotKeysSuspended_) unregisterBoth();
  if (!taken.isEmpty()) services_.dialogs.message(TakenMessage(taken));
}

QString TForm2::registerOrKeep(int id, const QString& old, const QString& chosen, QStringList& taken) {
  if (RegisterCombination(services_.hotKeys, id, chosen)) return chosen;
  taken << HotKeyName(chosen);
  RegisterCombination(services_.hotKeys, id, old);
  return old;
}

void TForm2::suspendHotKeys(bool suspended) {
  if (!hotKeysRegistered_ || suspended == hotKeysSuspended_) return;
  hotKeysSuspended_ = suspended;
  if (suspended) return unregisterBoth();
  registerHotKeys();
}

}  // namespace login
