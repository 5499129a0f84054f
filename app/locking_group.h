#pragma once
// The group "自动锁定" of the advanced tab: when the program locks by itself and what a lock clears.
#include <QGroupBox>

#include "settings/settings_file.h"

class QCheckBox;
class QSpinBox;

class LockingGroup : public QGroupBox {
  Q_OBJECT
 public:
  explicit LockingGroup(QWidget* parent);

  settings::LockingSettings locking() const;
  void setLocking(const settings::LockingSettings& locking);

 private:
  QSpinBox* SpinBox_IdleMinutes;
  QCheckBox* CheckBox_LockOnScreenLock;
  QCheckBox* CheckBox_ClearOnLock;
};
