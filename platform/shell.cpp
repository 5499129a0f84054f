#include "platform/shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform {

void DesktopShell::openAddress(const QString& address) { QDesktopServices::openUrl(QUrl::fromUserInput(address)); }

}  // namespace platform
