#include "platform/beeper.h"

#include <QApplication>

namespace platform {

void SystemBeeper::beep() { QApplication::beep(); }

}  // namespace platform
