#pragma once
// The dialog "生成密码": a random password drawn from the chosen classes, with its strength.
#include <QDialog>
#include <QString>

#include "crypto/password_generator.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace app {

class GeneratorDialog : public QDialog {
  Q_OBJECT
 public:
  GeneratorDialog(const crypto::PasswordRules& rules, QWidget* parent);

  crypto::PasswordRules rules() const;
  // The password shown when "使用" was pressed.
  QString password() const;

 private:
  // Draws a new preview for the current choice; without any class there is nothing to use.
  void regenerate();

  QSpinBox* SpinBox_Length;
  QCheckBox* CheckBox_UpperCase;
  QCheckBox* CheckBox_LowerCase;
  QCheckBox* CheckBox_Digits;
  QCheckBox* CheckBox_Symbols;
  QCheckBox* CheckBox_ExcludeLookAlikes;
  QLineEdit* Edit_Preview;
  QLabel* Label_Strength;
  QPushButton* Button_Regenerate;
  QPushButton* Button_Use;
  QPushButton* Button_Cancel;
};

}  // namespace app
