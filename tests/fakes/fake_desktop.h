#pragma once
// Records what the program asks of the desktop: addresses opened, taskbar state, beeps.
#include <QStringList>
#include <QWidget>
#include <map>

#include "platform/beeper.h"
#include "platform/shell.h"
#include "platform/taskbar.h"

namespace fakes {

class FakeShell final : public platform::Shell {
 public:
  void openAddress(const QString& address) override { opened << address; }
  QStringList opened;
};

class FakeTaskbar final : public platform::Taskbar {
 public:
  void hideFromTaskbar(QWidget& window) override { onTaskbar[&window] = false; }
  void showOnTaskbar(QWidget& window) override { onTaskbar[&window] = true; }
  std::map<const QWidget*, bool> onTaskbar;
};

class FakeBeeper final : public platform::Beeper {
 public:
  void beep() override { ++beeps; }
  int beeps = 0;
};

}  // namespace fakes
