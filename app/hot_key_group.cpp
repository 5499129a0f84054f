#include "app/hot_key_group.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <memory>

#include "app/background_work.h"
#include "platform/dbus/portal_global_shortcuts.h"
#include "platform/gnome_shortcuts.h"
#include "platform/hot_key_text.h"
#include "platform/session_type.h"

namespace app {

namespace {

constexpr Qt::KeyboardModifiers kHotKeyModifiers = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

QKeySequence FromPortable(const QString& text) { return QKeySequence::fromString(text, QKeySequence::PortableText); }

// Taken for the field that holds an editor key: neither moves nor selects text anywhere.
const QString kProposedAccount = QStringLiteral("Ctrl+Alt+1");
const QString kProposedPassword = QStringLiteral("Ctrl+Alt+2");

// The command a desktop shortcut runs: the bare name where it finds this very program.
QString FillCommand(const QString& which) {
  QString program = QCoreApplication::applicationFilePath();
  if (QStandardPaths::findExecutable("keyhaven") == program) {
    program = "keyhaven";
  } else {
    // Quoted for the desktop's shell-like splitting.
    program = "'" + program.replace("'", R"('\'')") + "'";
  }
  return program + " --fill " + which;
}

QString ProblemOf(const QString& field, const QString& portableText) {
  const QKeySequence sequence = FromPortable(portableText);
  if (sequence.isEmpty() || !(sequence[0].keyboardModifiers() & kHotKeyModifiers))
    return "“" + field + "”的热键须含有 Ctrl、Alt 或 Meta 键.";
  if (!platform::HotKeyFromSequence(sequence))
    return "“" + field + "”的热键 " + platform::NativeHotKeyText(portableText) + " 不能使用.";
  return {};
}

}  // namespace

HotKeyGroup::HotKeyGroup(QWidget* parent) : QGroupBox("热键", parent) {
  setObjectName("GroupBox_HotKeys");
  auto* grid = new QGridLayout(this);
  auto field = [this, grid](const char* name, const QString& caption, int column) {
    auto* label = new QLabel(caption, this);
    auto* edit = new QKeySequenceEdit(this);
    edit->setObjectName(name);
    edit->setAccessibleName(caption);
    label->setBuddy(edit);
    edit->installEventFilter(this);
    // Qt's field records up to four chords; a hot key is one, so the rest is dropped.
    connect(edit, &QKeySequenceEdit::editingFinished, edit,
            [edit] { edit->setKeySequence(FromPortable(platform::FirstChordText(edit->keySequence()))); });
    grid->addWidget(label, 0, column);
    grid->addWidget(edit, 0, column + 1);
    return edit;
  };
  KeySequenceEdit_Account = field("KeySequenceEdit_Account", "输入帐号", 0);
  KeySequenceEdit_Password = field("KeySequenceEdit_Password", "输入密码", 2);
  SpinBox_ArmedMinutes = new QSpinBox(this);
  SpinBox_ArmedMinutes->setObjectName("SpinBox_ArmedMinutes");
  SpinBox_ArmedMinutes->setRange(0, settings::Settings::kLongestHotKeyArmedMinutes);
  SpinBox_ArmedMinutes->setSpecialValueText("一直有效");
  SpinBox_ArmedMinutes->setAccessibleName("选中记录后热键有效分钟");
  auto* armedLabel = new QLabel("选中记录后热键有效分钟", this);
  armedLabel->setBuddy(SpinBox_ArmedMinutes);
  grid->addWidget(armedLabel, 1, 0, 1, 2);
  grid->addWidget(SpinBox_ArmedMinutes, 1, 2);
  if (platform::IsWaylandSession()) addWaylandAdvice(grid);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  setHotKeys(settings::HotKeySettings());
  setArmedMinutes(settings::Settings().hotKeyArmedMinutes);
}

// The desktop owns its keys there: it binds them through its portal, or the user binds the fill
// commands in its shortcut settings.
void HotKeyGroup::addWaylandAdvice(QGridLayout* grid) {
  auto* advice = new QLabel(
      "此桌面没有全局快捷键接口(GlobalShortcuts), 这两个热键只在 XWayland 程序的窗口中有效. "
      "请在桌面的快捷键设置中为命令 "
      "\"keyhaven --fill account\" 和 \"keyhaven --fill password\" 设置按键.",
      this);
  advice->setObjectName("Label_WaylandAdvice");
  advice->setWordWrap(true);
  advice->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid->addWidget(advice, 2, 0, 1, 4);

  Label_EditorKeyWarning = new QLabel(
      "Wayland 桌面会把快捷键从所有程序中拿走: Ctrl 或 Shift 加方向键、Home、End 是编辑文字的按键, "
      "不能作为桌面快捷键. 建议改用 " +
          platform::NativeHotKeyText(kProposedAccount) + " 和 " + platform::NativeHotKeyText(kProposedPassword) + ".",
      this);
  Label_EditorKeyWarning->setObjectName("Label_EditorKeyWarning");
  Label_EditorKeyWarning->setWordWrap(true);
  Button_ProposedHotKeys = new QPushButton("改用建议的热键", this);
  Button_ProposedHotKeys->setObjectName("Button_ProposedHotKeys");
  connect(Button_ProposedHotKeys, &QPushButton::clicked, this, &HotKeyGroup::proposeOtherKeys);
  grid->addWidget(Label_EditorKeyWarning, 3, 0, 1, 3);
  grid->addWidget(Button_ProposedHotKeys, 3, 3);
  for (QKeySequenceEdit* edit : {KeySequenceEdit_Account, KeySequenceEdit_Password})
    connect(edit, &QKeySequenceEdit::keySequenceChanged, this, &HotKeyGroup::showEditorKeyWarning);

  // GNOME before 48 has no portal but lets a key run a command: the two are written on request.
  QWidget* gnome = nullptr;
  if (qEnvironmentVariable("XDG_CURRENT_DESKTOP").contains("GNOME")) {
    gnome = new QWidget(this);
    auto* row = new QGridLayout(gnome);
    row->setContentsMargins(0, 0, 0, 0);
    gnomeButtons_ = new QWidget(gnome);
    auto* buttons = new QHBoxLayout(gnomeButtons_);
    buttons->setContentsMargins(0, 0, 0, 0);
    auto* write = new QPushButton("写入 GNOME 快捷键", gnomeButtons_);
    write->setObjectName("Button_WriteGnomeShortcuts");
    auto* remove = new QPushButton("删除 GNOME 快捷键", gnomeButtons_);
    remove->setObjectName("Button_RemoveGnomeShortcuts");
    buttons->addWidget(write);
    buttons->addWidget(remove);
    gnomeWork_ = new BackgroundWork(this);
    Label_GnomeShortcuts = new QLabel(gnome);
    Label_GnomeShortcuts->setObjectName("Label_GnomeShortcuts");
    Label_GnomeShortcuts->setWordWrap(true);
    connect(write, &QPushButton::clicked, this, &HotKeyGroup::writeGnomeShortcuts);
    connect(remove, &QPushButton::clicked, this, &HotKeyGroup::removeGnomeShortcuts);
    row->addWidget(gnomeButtons_, 0, 0, 1, 2);
    row->addWidget(Label_GnomeShortcuts, 1, 0, 1, 2);
    grid->addWidget(gnome, 4, 0, 1, 4);
  }
  platform::dbus::AskForGlobalShortcuts(this, [advice, gnome](bool offered) {
    if (!offered) return;
    advice->setText("登录后, 桌面会询问“输入帐号”和“输入密码”用哪个快捷键; 以后可在桌面的快捷键设置中更改.");
    // Custom shortcuts on the same keys would fill twice.
    if (gnome) gnome->hide();
  });
}

void HotKeyGroup::showEditorKeyWarning() {
  const settings::HotKeySettings chosen = hotKeys();
  const bool editorKey = platform::IsEditorKey(chosen.account) || platform::IsEditorKey(chosen.password);
  Label_EditorKeyWarning->setVisible(editorKey);
  Button_ProposedHotKeys->setVisible(editorKey);
}

void HotKeyGroup::proposeOtherKeys() {
  const settings::HotKeySettings chosen = hotKeys();
  setHotKeys({platform::IsEditorKey(chosen.account) ? kProposedAccount : chosen.account,
              platform::IsEditorKey(chosen.password) ? kProposedPassword : chosen.password});
}

void HotKeyGroup::writeGnomeShortcuts() {
  const settings::HotKeySettings chosen = hotKeys();
  const platform::DesktopShortcut account{"钥匣 输入帐号", FillCommand("account"),
                                          platform::GnomeBinding(chosen.account)};
  const platform::DesktopShortcut password{"钥匣 输入密码", FillCommand("password"),
                                           platform::GnomeBinding(chosen.password)};
  const bool editorKeyLeft = account.binding.isEmpty() || password.binding.isEmpty();
  changeGnomeShortcuts(
      [account, password] {
        platform::GSettingsCommand gsettings;
        return platform::GnomeCustomShortcuts(gsettings).write(account, password);
      },
      [this, editorKeyLeft](bool written) {
        if (!written) {
          Label_GnomeShortcuts->setText("无法写入 GNOME 的快捷键设置(gsettings).");
          return;
        }
        QString said = "已写入 GNOME 的自定义快捷键“钥匣 输入帐号”和“钥匣 输入密码”(设置 → 键盘 → 自定义快捷键).";
        if (editorKeyLeft) said += " 编辑键不能作为桌面快捷键, 请在那里为它设置按键.";
        Label_GnomeShortcuts->setText(said);
      });
}

void HotKeyGroup::removeGnomeShortcuts() {
  changeGnomeShortcuts(
      [] {
        platform::GSettingsCommand gsettings;
        return platform::GnomeCustomShortcuts(gsettings).remove();
      },
      [this](bool removed) {
        Label_GnomeShortcuts->setText(removed ? "已删除钥匣的 GNOME 自定义快捷键, 其他快捷键未变."
                                              : "无法修改 GNOME 的快捷键设置(gsettings).");
      });
}

void HotKeyGroup::changeGnomeShortcuts(std::function<bool()> change, std::function<void(bool changed)> said) {
  gnomeButtons_->setEnabled(false);
  auto changed = std::make_shared<bool>(false);
  gnomeWork_->start(
      QString(), [change = std::move(change), changed] { *changed = change(); },
      [this, said = std::move(said), changed](const QString&) {
        gnomeButtons_->setEnabled(true);
        said(*changed);
      });
}

int HotKeyGroup::armedMinutes() const { return SpinBox_ArmedMinutes->value(); }

void HotKeyGroup::setArmedMinutes(int minutes) { SpinBox_ArmedMinutes->setValue(minutes); }

settings::HotKeySettings HotKeyGroup::hotKeys() const {
  return {platform::FirstChordText(KeySequenceEdit_Account->keySequence()),
          platform::FirstChordText(KeySequenceEdit_Password->keySequence())};
}

void HotKeyGroup::setHotKeys(const settings::HotKeySettings& hotKeys) {
  KeySequenceEdit_Account->setKeySequence(FromPortable(hotKeys.account));
  KeySequenceEdit_Password->setKeySequence(FromPortable(hotKeys.password));
  if (Label_EditorKeyWarning) showEditorKeyWarning();
}

bool HotKeyGroup::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
    // Moving from one field to the other keeps recording; the focus widget is the new one by now.
    QWidget* focus = QApplication::focusWidget();
    const bool recording =
        event->type() == QEvent::FocusIn ||
        (focus && focus != watched && (focus == KeySequenceEdit_Account || focus == KeySequenceEdit_Password));
    if (recording != recording_) {
      recording_ = recording;
      emit recordingChanged(recording);
    }
  }
  return QGroupBox::eventFilter(watched, event);
}

QString HotKeyChoiceProblem(const settings::HotKeySettings& chosen) {
  for (const QString& problem : {ProblemOf("输入帐号", chosen.account), ProblemOf("输入密码", chosen.password)})
    if (!problem.isEmpty()) return problem;
  if (!settings::IsUsableHotKeyPair(chosen.account, chosen.password))
    return "“输入帐号”和“输入密码”不能使用同一个热键 " + platform::NativeHotKeyText(chosen.account) + ".";
  return {};
}

QString HotKeyHint(const settings::HotKeySettings& inForce) {
  if (inForce == settings::HotKeySettings()) return "小技巧:ctrl + ← 自动输入帐号 Ctrl + → 自动输入密码.";
  return "小技巧:" + platform::NativeHotKeyText(inForce.account) + " 自动输入帐号 " +
         platform::NativeHotKeyText(inForce.password) + " 自动输入密码.";
}

}  // namespace app
