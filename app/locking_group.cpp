#include "app/locking_group.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>

namespace app {

LockingGroup::LockingGroup(QWidget* parent) : QGroupBox("自动锁定", parent) {
  setObjectName("GroupBox_Locking");
  auto* idleBefore = new QLabel("空闲", this);
  SpinBox_IdleMinutes = new QSpinBox(this);
  SpinBox_IdleMinutes->setObjectName("SpinBox_IdleMinutes");
  SpinBox_IdleMinutes->setRange(0, settings::LockingSettings::kLongestIdleMinutes);
  SpinBox_IdleMinutes->setSpecialValueText("从不");
  SpinBox_IdleMinutes->setMinimumWidth(SpinBox_IdleMinutes->sizeHint().width() + fontMetrics().averageCharWidth() * 2);
  SpinBox_IdleMinutes->setAccessibleName("空闲 N 分钟后锁定");
  idleBefore->setBuddy(SpinBox_IdleMinutes);
  CheckBox_LockOnScreenLock = new QCheckBox("屏幕锁定或休眠时锁定", this);
  CheckBox_LockOnScreenLock->setObjectName("CheckBox_LockOnScreenLock");
  CheckBox_ClearOnLock = new QCheckBox("锁定时清除当前记录并停用热键", this);
  CheckBox_ClearOnLock->setObjectName("CheckBox_ClearOnLock");
  Label_IdleTimeUnknown = new QLabel("此桌面不提供空闲时间, 空闲锁定不会生效.", this);
  Label_IdleTimeUnknown->setObjectName("Label_IdleTimeUnknown");
  Label_IdleTimeUnknown->setWordWrap(true);
  Label_IdleTimeUnknown->hide();
  auto* grid = new QGridLayout(this);
  grid->addWidget(idleBefore, 0, 0);
  grid->addWidget(SpinBox_IdleMinutes, 0, 1);
  grid->addWidget(new QLabel("分钟后锁定", this), 0, 2);
  grid->addWidget(CheckBox_LockOnScreenLock, 0, 3);
  grid->addWidget(CheckBox_ClearOnLock, 1, 0, 1, 4);
  grid->addWidget(Label_IdleTimeUnknown, 2, 0, 1, 5);
  grid->setColumnStretch(4, 1);
  setLocking(settings::LockingSettings());
}

settings::LockingSettings LockingGroup::locking() const {
  settings::LockingSettings locking;
  locking.idleMinutes = SpinBox_IdleMinutes->value();
  locking.lockOnScreenLock = CheckBox_LockOnScreenLock->isChecked();
  locking.clearOnLock = CheckBox_ClearOnLock->isChecked();
  return locking;
}

void LockingGroup::setLocking(const settings::LockingSettings& locking) {
  SpinBox_IdleMinutes->setValue(locking.idleMinutes);
  CheckBox_LockOnScreenLock->setChecked(locking.lockOnScreenLock);
  CheckBox_ClearOnLock->setChecked(locking.clearOnLock);
}

void LockingGroup::showIdleTimeKnown(bool known) { Label_IdleTimeUnknown->setVisible(!known); }

}  // namespace app
