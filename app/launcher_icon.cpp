#include "app/launcher_icon.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QPixmap>
#include <QSaveFile>

#include "app/maker_info.h"
#include "app/program_icon.h"
#include "input/shortcut_writer.h"

namespace app {

namespace {

constexpr int kIconSize = 128;

bool HasIcon(const QString& dataDir) {
  QDirIterator sizes(dataDir + "/icons/hicolor", QDir::Dirs | QDir::NoDotAndDotDot);
  while (sizes.hasNext())
    if (QFileInfo::exists(sizes.next() + "/apps/keyhaven.png")) return true;
  return false;
}

}  // namespace

QString UserLauncherIconPath(const QString& dataHome) {
  return QDir::cleanPath(dataHome) + "/icons/hicolor/" + QString::number(kIconSize) + "x" + QString::number(kIconSize) +
         "/apps/keyhaven.png";
}

bool ProvideLauncherIcon(const QString& dataHome, const QStringList& dataDirs) {
  if (HasIcon(dataHome)) return true;
  for (const QString& dir : dataDirs)
    if (HasIcon(dir)) return true;
  const QString path = UserLauncherIconPath(dataHome);
  if (!QDir().mkpath(QFileInfo(path).path())) return false;
  QSaveFile file(path);
  return file.open(QIODevice::WriteOnly) && ProgramIcon().pixmap(kIconSize, kIconSize).save(&file, "PNG") &&
         file.commit();
}

bool ProvideApplicationEntry(const QString& dataHome, const QStringList& dataDirs, const QString& executable) {
  const QString name = "/applications/" + maker::kApplicationId + ".desktop";
  if (QFileInfo::exists(dataHome + name)) return true;
  for (const QString& dir : dataDirs)
    if (QFileInfo::exists(dir + name)) return true;
  const QString path = QDir::cleanPath(dataHome) + name;
  if (!QDir().mkpath(QFileInfo(path).path())) return false;
  QSaveFile file(path);
  return file.open(QIODevice::WriteOnly) &&
         file.write(input::ApplicationEntryText(maker::kTitle, executable).toUtf8()) >= 0 && file.commit();
}

QStringList DataDirs() {
  QStringList dirs;
  for (const QString& dir : qEnvironmentVariable("XDG_DATA_DIRS").split(':', Qt::SkipEmptyParts))
    if (QDir::isAbsolutePath(dir)) dirs << dir;
  return dirs.isEmpty() ? QStringList{"/usr/local/share", "/usr/share"} : dirs;
}

}  // namespace app
