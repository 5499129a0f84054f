#include "vault/data_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>

#include "store/connection.h"
#include "store/file_copy.h"
#include "store/private_file.h"
#include "store/temporary_files.h"

namespace vault {

namespace {

const QString kDatabaseName = QString::fromUtf8(store::kDatabaseFileName.data(), store::kDatabaseFileName.size());

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString WithSlash(const QString& folder) { return folder.endsWith('/') ? folder : folder + '/'; }

// Symbolic links resolved where the folder exists, so /bin counts as /usr/bin on merged systems.
QString RealFolder(const QString& folder) {
  const QString canonical = QFileInfo(folder).canonicalFilePath();
  return WithSlash(canonical.isEmpty() ? QDir::cleanPath(folder) : canonical);
}

// The program folders of the package system and of system-wide installs: nothing is written
// there, even by root, who could. A build or a copy elsewhere below /usr or /opt stays portable.
bool IsSystemFolder(const QString& folder) {
  static const QRegularExpression systemBinaries("^(/usr(/local)?|/opt/[^/]+)?/(bin|sbin|games)/$");
  return systemBinaries.match(folder).hasMatch();
}

// The data folder and the folders above it; the data folder itself is the user's alone.
int MakeDataFolder(const QString& folder) {
  const QString clean = QDir::cleanPath(folder);
  if (!QDir().mkpath(QFileInfo(clean).path())) return EACCES;
  if (::mkdir(LocalPath(clean).c_str(), 0700) != 0 && errno != EEXIST) return errno;
  return QFileInfo(clean).isDir() ? 0 : ENOTDIR;
}

}  // namespace

ProgramFolderLayout ChooseProgramFolder(const QString& executableFolder, bool executableFolderWritable,
                                        const QString& dataHome) {
  const QString programFolder = RealFolder(executableFolder);
  const QString supplied = QDir::cleanPath(programFolder + "../share/keyhaven/" + kDatabaseName);
  const bool inInstallPrefix = QFileInfo::exists(supplied) && !QFileInfo::exists(programFolder + kDatabaseName);
  if (executableFolderWritable && !IsSystemFolder(programFolder) && !inInstallPrefix) return {programFolder, QString()};
  return {WithSlash(QDir::cleanPath(dataHome)) + "keyhaven/", supplied};
}

QString DataHome() {
  QString fromEnvironment = qEnvironmentVariable("XDG_DATA_HOME");
  if (QDir::isAbsolutePath(fromEnvironment)) return fromEnvironment;
  return QDir::homePath() + "/.local/share";
}

ProgramFolderLayout CurrentProgramFolderLayout() {
  const QString executableFolder = QCoreApplication::applicationDirPath();
  const bool writable = ::access(LocalPath(executableFolder).c_str(), W_OK) == 0;
  return ChooseProgramFolder(executableFolder, writable, DataHome());
}

QString ProgramFolder() { return CurrentProgramFolderLayout().folder; }

FirstStartResult ProvideInitialDatabase(const ProgramFolderLayout& layout) {
  if (!layout.installed()) return {FirstStart::NothingToDo, 0};
  const QString database = layout.folder + kDatabaseName;
  // A dangling link counts as a file the user put there: it is left alone.
  if (QFileInfo::exists(database) || QFileInfo(database).isSymLink()) return {FirstStart::NothingToDo, 0};
  int failure = MakeDataFolder(layout.folder);
  if (failure == 0) failure = store::CopyFileWithoutReplacing(LocalPath(layout.suppliedDatabase), LocalPath(database));
  if (failure == EEXIST) return {FirstStart::NothingToDo, 0};
  return {failure == 0 ? FirstStart::DatabaseCopied : FirstStart::CopyFailed, failure};
}

bool PrepareDatabaseFile(const QString& folder, const QString& fileName) {
  if (!QFileInfo(folder + fileName).isFile()) return false;
  store::KeepToOwner(LocalPath(folder + fileName));
  store::RemoveCompactionLeftovers();
  store::RemoveLeftovers(LocalPath(folder), store::kBesideTargetPrefixes);
  return true;
}

}  // namespace vault
