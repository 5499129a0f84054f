#pragma once
// Qt's own texts (dialog buttons, the edit boxes' context menu) in Chinese, like the windows.
#include <QCoreApplication>

namespace platform {

// Loads Qt's Chinese translation for the application's lifetime; false when it is not installed,
// and the texts stay English.
bool InstallChineseStandardTexts(QCoreApplication& application);

}  // namespace platform
