#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "app/launcher_icon.h"

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(path.section('/', 0, -2));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST(LauncherIcon, APortableCopyPutsItsIconIntoTheUsersIconFolderOnce) {
  QTemporaryDir root;
  const QString home = root.path() + "/data", system = root.path() + "/system";
  const QString icon = app::UserLauncherIconPath(home);
  EXPECT_EQ(icon, home + "/icons/hicolor/128x128/apps/keyhaven.png");

  ASSERT_TRUE(app::ProvideLauncherIcon(home, {system}));
  const QImage image(icon);
  ASSERT_FALSE(image.isNull()) << "a PNG the desktop can show";
  EXPECT_EQ(image.size(), QSize(128, 128));
  EXPECT_NE(image.pixel(64, 64), image.pixel(2, 2)) << "the drawn key, not an empty square";

  // The user's own icon, or one put there by an earlier start, is left as it is.
  WriteFile(icon, "the user's icon");
  EXPECT_TRUE(app::ProvideLauncherIcon(home, {system}));
  EXPECT_EQ(ReadFile(icon), "the user's icon");
}

TEST(LauncherIcon, AnInstalledIconIsUsedAndNothingIsWritten) {
  QTemporaryDir root;
  const QString home = root.path() + "/data";
  WriteFile(root.path() + "/usr/share/icons/hicolor/48x48/apps/keyhaven.png", "installed");
  EXPECT_TRUE(app::ProvideLauncherIcon(home, {root.path() + "/usr/local/share", root.path() + "/usr/share"}));
  EXPECT_FALSE(QDir(home).exists());
}

TEST(LauncherIcon, AnUnwritableDataHomeIsReported) {
  QTemporaryDir root;
  WriteFile(root.path() + "/data", "a file where the folder should be");
  EXPECT_FALSE(app::ProvideLauncherIcon(root.path() + "/data", {root.path() + "/system"}));
}

TEST(LauncherIcon, DataDirsAreTheAbsoluteXdgDataDirsElseTheDefaults) {
  const QByteArray saved = qgetenv("XDG_DATA_DIRS");
  qputenv("XDG_DATA_DIRS", "/opt/share:relative/share::/usr/share");
  EXPECT_EQ(app::DataDirs(), (QStringList{"/opt/share", "/usr/share"}));
  qunsetenv("XDG_DATA_DIRS");
  EXPECT_EQ(app::DataDirs(), (QStringList{"/usr/local/share", "/usr/share"}));
  if (!saved.isNull()) qputenv("XDG_DATA_DIRS", saved);
}

TEST(LauncherIcon, APortableCopyWritesItsApplicationEntryWithTheFillActionsUnlessOneIsInstalled) {
  QTemporaryDir root;
  const QString home = root.path() + "/data", system = root.path() + "/usr/share";
  const QString entry = home + "/applications/example.keyhaven.Keyhaven.desktop";
  ASSERT_TRUE(app::ProvideApplicationEntry(home, {system}, "/opt/my keys/keyhaven"));
  const QString text = QString::fromUtf8(ReadFile(entry));
  EXPECT_TRUE(text.contains("\nExec=\"/opt/my keys/keyhaven\"\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("\nExec=\"/opt/my keys/keyhaven\" --fill password\n")) << text.toStdString();

  QFile::remove(entry);
  WriteFile(system + "/applications/example.keyhaven.Keyhaven.desktop", "installed");
  EXPECT_TRUE(app::ProvideApplicationEntry(home, {system}, "/usr/bin/keyhaven"));
  EXPECT_FALSE(QFile::exists(entry));
}
