#include "app/settings_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "vault/master_password_rules.h"
#include "widgets/named_widgets.h"
#include "widgets/password_key_filter.h"

namespace app {

using widgets::button;
using widgets::label;
using widgets::labelledEdit;
using widgets::make;

SettingsPage::SettingsPage(platform::Beeper& beeper, QWidget* parent) : QWidget(parent) {
  setObjectName("TabSheet2");
  auto* passwords = make<QGroupBox>(this, "GroupBox3", "设置密码");
  auto* labelOld = label(passwords, "LabelOldPass", "原始密码");
  auto* labelA = label(passwords, "LabelPassA", "请输入密码");
  auto* labelB = label(passwords, "LabelPassB", "确认密码");
  Edit_OldPass = labelledEdit(passwords, "Edit_OldPass", labelOld);
  Edit_Pass_A = labelledEdit(passwords, "Edit_Pass_A", labelA);
  Edit_Pass_B = labelledEdit(passwords, "Edit_Pass_B", labelB);
  auto* change = button(passwords, "Button7", "确定");
  auto* clear = button(passwords, "Button_PassCleal", "重置");
  auto* mask = button(passwords, "Button5", "防偷窥");
  auto* hint = label(passwords, "LabelPassHint", "密码可以是全数字/全字母/数字+字母组合(不推荐使用汉字)");
  auto* passGrid = new QGridLayout(passwords);
  passGrid->addWidget(labelOld, 0, 0);
  passGrid->addWidget(Edit_OldPass, 0, 1);
  passGrid->addWidget(mask, 0, 2);
  passGrid->addWidget(labelA, 1, 0);
  passGrid->addWidget(Edit_Pass_A, 1, 1);
  passGrid->addWidget(change, 1, 2);
  passGrid->addWidget(labelB, 2, 0);
  passGrid->addWidget(Edit_Pass_B, 2, 1);
  passGrid->addWidget(clear, 2, 2);
  passGrid->addWidget(hint, 3, 0, 1, 3);
  setTabOrder(Edit_Pass_A, Edit_Pass_B);
  setTabOrder(Edit_Pass_B, change);
  setTabOrder(change, clear);
  setTabOrder(clear, Edit_OldPass);
  setTabOrder(Edit_OldPass, mask);
  auto* newPasswordFilter = new widgets::PasswordKeyFilter(beeper, vault::IsMasterPasswordCharacter, this);
  for (QLineEdit* box : {Edit_Pass_A, Edit_Pass_B}) {
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    box->installEventFilter(newPasswordFilter);
  }
  connect(change, &QPushButton::clicked, this, &SettingsPage::changePasswordClicked);
  connect(clear, &QPushButton::clicked, this, &SettingsPage::clearClicked);
  connect(mask, &QPushButton::clicked, this, &SettingsPage::maskClicked);

  auto* operations = make<QGroupBox>(this, "GroupBox6", "常用操作");
  auto* labelCompact = label(operations, "LabelCompact", "压缩数据库");
  auto* compact = button(operations, "Button11", "压缩修复");
  auto* compactRow = new QHBoxLayout(operations);
  compactRow->addWidget(labelCompact);
  compactRow->addWidget(compact);
  compactRow->addStretch();
  connect(compact, &QPushButton::clicked, this, &SettingsPage::compactClicked);

  auto* mode = make<QGroupBox>(this, "GroupBox1", "帐号密码自动输入方式");
  RadioButton_IntoPass1 = make<QRadioButton>(mode, "RadioButton_IntoPass1", "帐号密码粘贴式");
  RadioButton_IntoPass2 = make<QRadioButton>(mode, "RadioButton_IntoPass2", "帐号密码非粘贴式");
  RadioButton_IntoPass1->setChecked(true);
  auto* save = button(mode, "Button6", "保存配置");
  Label16 = label(mode, "Label16", "小技巧:ctrl + ← 自动输入帐号 Ctrl + → 自动输入密码.");
  auto* modeGrid = new QGridLayout(mode);
  modeGrid->addWidget(RadioButton_IntoPass1, 0, 0);
  modeGrid->addWidget(RadioButton_IntoPass2, 0, 1);
  modeGrid->addWidget(save, 0, 2);
  modeGrid->addWidget(Label16, 1, 0, 1, 3);
  connect(save, &QPushButton::clicked, this, &SettingsPage::saveClicked);

  auto* safety = make<QGroupBox>(this, "GroupBox4", "安全说明");
  Label20 = label(safety, "Label20", "2.当复制帐号或密码后1分钟程序会自动清空剪切板.");
  auto* notes = new QVBoxLayout(safety);
  notes->addWidget(label(safety, "Label19", "1.程序退出时会自动清空系统剪切板."));
  notes->addWidget(Label20);
  notes->addWidget(label(safety, "Label21", "3.如果暂时离开电脑请进入托盘状态或退出钥匣."));

  auto* tab = new QVBoxLayout(this);
  for (QGroupBox* g : {passwords, operations, mode, safety}) tab->addWidget(g);
  tab->addStretch();
}

QString SettingsPage::oldPassword() const { return Edit_OldPass->text(); }

QString SettingsPage::newPassword() const { return Edit_Pass_A->text(); }

QString SettingsPage::repeatedPassword() const { return Edit_Pass_B->text(); }

void SettingsPage::clearNewPasswords() {
  Edit_Pass_A->clear();
  Edit_Pass_B->clear();
}

void SettingsPage::maskPasswords() {
  for (QLineEdit* edit : {Edit_OldPass, Edit_Pass_A, Edit_Pass_B}) edit->setEchoMode(QLineEdit::Password);
}

settings::AutoFillMode SettingsPage::autoFillMode() const {
  return RadioButton_IntoPass1->isChecked() ? settings::AutoFillMode::Paste : settings::AutoFillMode::Keystrokes;
}

void SettingsPage::showAutoFillMode(settings::AutoFillMode mode) {
  (mode == settings::AutoFillMode::Paste ? RadioButton_IntoPass1 : RadioButton_IntoPass2)->setChecked(true);
}

void SettingsPage::showHotKeyHint(const QString& hint) { Label16->setText(hint); }

void SettingsPage::showClipboardNote(const QString& note) { Label20->setText(note); }

}  // namespace app
