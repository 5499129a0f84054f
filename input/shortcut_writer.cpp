#include "input/shortcut_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

namespace input {

namespace {

// The Exec key's quoting: the whole path in double quotes, with its reserved characters escaped.
QString quotedExecArgument(const QString& path) {
  QString escaped;
  for (QChar c : path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') escaped += '\\';
    escaped += c;
  }
  QString quoted = "\"" + escaped + "\"";
  // A literal percent sign is doubled in Exec, and a backslash is doubled once more by the
  // string-value escaping of the file format.
  return quoted.replace("%", "%%").replace("\\", "\\\\");
}

QString singleLine(QString text) { return text.replace('\n', ' ').replace('\r', ' '); }

}  // namespace

QString DesktopFolder() {
  QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (config.isEmpty()) config = QDir::homePath() + "/.config";
  QFile dirs(config + "/user-dirs.dirs");
  if (dirs.open(QIODevice::ReadOnly | QIODevice::Text)) {
    static const QRegularExpression line(R"(^\s*XDG_DESKTOP_DIR\s*=\s*"(.*)\"\s*$)");
    QTextStream in(&dirs);
    while (!in.atEnd()) {
      auto match = line.match(in.readLine());
      if (match.hasMatch()) {
        QString path = match.captured(1);
        path.replace("$HOME", QDir::homePath());
        return QDir::cleanPath(path);
      }
    }
  }
  if (QDir::homePath().isEmpty()) return QString();
  return QDir::homePath() + "/Desktop";
}

QString DesktopEntryText(const QString& name, const QString& target) {
  QFileInfo info(target);
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Version=1.0\n"
         "Name=" +
         singleLine(name) +
         "\n"
         "Exec=" +
         singleLine(quotedExecArgument(info.absoluteFilePath())) +
         "\n"
         "Path=" +
         singleLine(info.absolutePath()) +
         "\n"
         "Icon=keyhaven\n"
         "Terminal=false\n"
         "Categories=Utility;Security;\n";
}

QString ApplicationEntryText(const QString& name, const QString& target) {
  const QString exec = singleLine(quotedExecArgument(QFileInfo(target).absoluteFilePath()));
  return DesktopEntryText(name, target) +
         "Actions=fill-account;fill-password;\n"
         "\n[Desktop Action fill-account]\nName=输入帐号\nExec=" +
         exec + " --fill account\n\n[Desktop Action fill-password]\nName=输入密码\nExec=" + exec + " --fill password\n";
}

bool CreateShortcut(const QString& fileName, QString linkName, QString folder, int folderCode) {
  QFileInfo target(fileName);
  if (!target.exists()) return false;
  if (linkName.isEmpty()) linkName = target.completeBaseName();
  if (folder.isEmpty() && folderCode == -1) folderCode = kDesktopFolderCode;

  QString shortcutFolder;
  if (folderCode < 0) {
    while (folder.size() > 1 && folder.endsWith('/')) folder.chop(1);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return false;
    shortcutFolder = folder;
  } else if (folderCode == kDesktopFolderCode) {
    shortcutFolder = DesktopFolder();
    if (shortcutFolder.isEmpty() || !QFileInfo(shortcutFolder).isDir()) return false;
  } else {
    return false;  // no other special folders exist here
  }

  QSaveFile file(shortcutFolder + "/" + linkName + ".desktop");
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(DesktopEntryText(linkName, target.absoluteFilePath()).toUtf8());
  if (!file.commit()) return false;
  // Desktops only launch entries that are marked executable.
  return QFile::setPermissions(file.fileName(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                    QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                                    QFile::ExeOther);
}

}  // namespace input
