#pragma once
// The desktop shortcut names its icon "keyhaven", which an installed program brings along. A
// portable copy puts the drawn icon into the user's own icon folder, so the shortcut shows it.
#include <QString>
#include <QStringList>

// The file the icon goes to: dataHome + "/icons/hicolor/128x128/apps/keyhaven.png".
QString UserLauncherIconPath(const QString& dataHome);

// Writes the icon there unless an icon "keyhaven" of the hicolor theme is in dataHome or in one
// of dataDirs already. False only when it was missing and could not be written.
bool ProvideLauncherIcon(const QString& dataHome, const QStringList& dataDirs);

// $XDG_DATA_DIRS, else /usr/local/share and /usr/share.
QStringList DataDirs();
