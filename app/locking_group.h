#pragma once
// The group "自动锁定" of the advanced tab: when the program locks by itself and what a lock clears.
#include <QGroupBox>

#include "settings/settings_file.h"

class QCheckBox;
class QLabel;
class QSpinBox;

namespace app {

class LockingGroup : public QGroupBox {
  Q_OBJECT
 public:
  explicit LockingGroup(QWidget* parent);

  settings::LockingSettings locking() const;
  void setLocking(const settings::LockingSettings& locking);
  // Where the desktop does not tell the idle time, the group says that the idle lock cannot work.
  void showIdleTimeKnown(bool known);

 private:
  QSpinBox* SpinBox_IdleMinutes;
  QCheckBox* CheckBox_LockOnScreenLock;
  QCheckBox* CheckBox_ClearOnLock;
  QLabel* Label_IdleTimeUnknown;
};

}  // namespace app
