#include "app/generator_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "widgets/named_widgets.h"

namespace app {

namespace {

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption, bool checked) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  box->setChecked(checked);
  return box;
}

using widgets::button;

}  // namespace

GeneratorDialog::GeneratorDialog(const crypto::PasswordRules& rules, QWidget* parent) : QDialog(parent) {
  setObjectName("GeneratorDialog");
  setWindowTitle("生成密码");
  auto* lengthLabel = new QLabel("长度", this);
  SpinBox_Length = new QSpinBox(this);
  SpinBox_Length->setObjectName("SpinBox_Length");
  SpinBox_Length->setRange(crypto::PasswordRules::kShortest, crypto::PasswordRules::kLongest);
  SpinBox_Length->setValue(rules.length);
  SpinBox_Length->setAccessibleName("长度");
  lengthLabel->setBuddy(SpinBox_Length);
  CheckBox_UpperCase = checkBox(this, "CheckBox_UpperCase", "大写字母", rules.upperCase);
  CheckBox_LowerCase = checkBox(this, "CheckBox_LowerCase", "小写字母", rules.lowerCase);
  CheckBox_Digits = checkBox(this, "CheckBox_Digits", "数字", rules.digits);
  CheckBox_Symbols = checkBox(this, "CheckBox_Symbols", "符号", rules.symbols);
  CheckBox_ExcludeLookAlikes = checkBox(this, "CheckBox_ExcludeLookAlikes", "排除易混淆字符", rules.excludeLookAlikes);
  Edit_Preview = new QLineEdit(this);
  Edit_Preview->setObjectName("Edit_Preview");
  Edit_Preview->setReadOnly(true);
  Edit_Preview->setAccessibleName("密码");
  Edit_Preview->setMinimumWidth(
      Edit_Preview->fontMetrics().horizontalAdvance(QString(crypto::PasswordRules::kLongest / 2, 'W')));
  Label_Strength = new QLabel(this);
  Label_Strength->setObjectName("Label_Strength");
  Button_Regenerate = button(this, "Button_Regenerate", "重新生成");
  Button_Use = button(this, "Button_Use", "使用");
  Button_Cancel = button(this, "Button_Cancel", "取消");

  auto* choice = new QGridLayout;
  choice->addWidget(lengthLabel, 0, 0);
  choice->addWidget(SpinBox_Length, 0, 1);
  choice->addWidget(CheckBox_UpperCase, 1, 0);
  choice->addWidget(CheckBox_LowerCase, 1, 1);
  choice->addWidget(CheckBox_Digits, 2, 0);
  choice->addWidget(CheckBox_Symbols, 2, 1);
  choice->addWidget(CheckBox_ExcludeLookAlikes, 3, 0, 1, 2);
  auto* preview = new QHBoxLayout;
  preview->addWidget(Edit_Preview, 1);
  preview->addWidget(Label_Strength);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* b : {Button_Regenerate, Button_Use, Button_Cancel}) buttons->addWidget(b);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(choice);
  outer->addLayout(preview);
  outer->addLayout(buttons);

  connect(SpinBox_Length, &QSpinBox::valueChanged, this, &GeneratorDialog::regenerate);
  for (QCheckBox* box :
       {CheckBox_UpperCase, CheckBox_LowerCase, CheckBox_Digits, CheckBox_Symbols, CheckBox_ExcludeLookAlikes})
    connect(box, &QCheckBox::toggled, this, &GeneratorDialog::regenerate);
  connect(Button_Regenerate, &QPushButton::clicked, this, &GeneratorDialog::regenerate);
  connect(Button_Use, &QPushButton::clicked, this, &QDialog::accept);
  connect(Button_Cancel, &QPushButton::clicked, this, &QDialog::reject);
  regenerate();
}

crypto::PasswordRules GeneratorDialog::rules() const {
  crypto::PasswordRules rules;
  rules.length = SpinBox_Length->value();
  rules.upperCase = CheckBox_UpperCase->isChecked();
  rules.lowerCase = CheckBox_LowerCase->isChecked();
  rules.digits = CheckBox_Digits->isChecked();
  rules.symbols = CheckBox_Symbols->isChecked();
  rules.excludeLookAlikes = CheckBox_ExcludeLookAlikes->isChecked();
  return rules;
}

QString GeneratorDialog::password() const { return Edit_Preview->text(); }

void GeneratorDialog::regenerate() {
  const crypto::PasswordRules chosen = rules();
  const bool anyClass = !crypto::PasswordAlphabet(chosen).empty();
  Edit_Preview->setText(anyClass ? QString::fromStdString(crypto::GeneratePassword(chosen)) : QString());
  Label_Strength->setText(QString::number(std::lround(crypto::PasswordStrengthBits(chosen))) + " 位");
  Button_Regenerate->setEnabled(anyClass);
  Button_Use->setEnabled(anyClass);
}

}  // namespace app
