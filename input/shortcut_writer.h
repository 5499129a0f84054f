#pragma once
// Desktop shortcuts: a freedesktop .desktop launcher, marked executable.
#include <QString>

namespace input {

inline constexpr int kDesktopFolderCode = 0;

// Writes "<folder>/<linkName>.desktop" starting fileName. An empty linkName becomes the target's
// name without its extension. An empty folder with folderCode -1 means the desktop; with another
// negative code the folder must exist as given. False when the target or the folder is missing
// or the file cannot be written; an existing shortcut of that name is replaced.
bool CreateShortcut(const QString& fileName, QString linkName, QString folder, int folderCode);

// The user's desktop folder ($XDG_CONFIG_HOME/user-dirs.dirs, else ~/Desktop); empty if unknown.
QString DesktopFolder();

// The text of a launcher for the target.
QString DesktopEntryText(const QString& name, const QString& target);

// The application's own entry for the target, with the actions "输入帐号" and "输入密码" that run it
// with --fill account and --fill password, for desktops that bind keys to an application's actions.
QString ApplicationEntryText(const QString& name, const QString& target);

}  // namespace input
