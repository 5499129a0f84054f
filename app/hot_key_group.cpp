#include "app/hot_key_group.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QSpinBox>

#include "platform/hot_key_text.h"
#include "platform/session_type.h"

namespace {

constexpr Qt::KeyboardModifiers kHotKeyModifiers = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

QKeySequence FromPortable(const QString& text) { return QKeySequence::fromString(text, QKeySequence::PortableText); }

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
  if (platform::IsWaylandSession()) {
    // The desktop owns its keys there: the fill is bound to a key in its own shortcut settings.
    auto* advice = new QLabel(
        "Wayland 桌面上, 这两个热键只在 XWayland 程序的窗口中有效. 请在桌面的快捷键设置中为命令 "
        "\"keyhaven --fill account\" 和 \"keyhaven --fill password\" 设置按键.",
        this);
    advice->setObjectName("Label_WaylandAdvice");
    advice->setWordWrap(true);
    advice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(advice, 2, 0, 1, 4);
  }
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  setHotKeys(settings::HotKeySettings());
  setArmedMinutes(settings::Settings().hotKeyArmedMinutes);
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
