#pragma once
// The desktop shortcut names its icon "keyhaven", and the desktop knows the program by its entry,
// both of which an installed program brings along. A portable copy puts the drawn icon and its own
// entry into the user's own data folder.
#include <QString>
#include <QStringList>

namespace app {

// The file the icon goes to: dataHome + "/icons/hicolor/128x128/apps/keyhaven.png".
QString UserLauncherIconPath(const QString& dataHome);

// Writes the icon there unless an icon "keyhaven" of the hicolor theme is in dataHome or in one
// of dataDirs already. False only when it was missing and could not be written.
bool ProvideLauncherIcon(const QString& dataHome, const QStringList& dataDirs);

// The application's entry "<application id>.desktop", naming this executable and its two fill
// actions: what a Wayland desktop and its portals know the program by, and where desktops that bind
// keys to an application's actions find them. Written into dataHome + "/applications" unless an
// entry of that name is in dataHome or in one of dataDirs already. False only when it was missing
// and could not be written.
bool ProvideApplicationEntry(const QString& dataHome, const QStringList& dataDirs, const QString& executable);

// $XDG_DATA_DIRS, else /usr/local/share and /usr/share.
QStringList DataDirs();

}  // namespace app
