#include <sys/stat.h>

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/program_folder.h"
#include "crypto/protected_field.h"
#include "store/database_file.h"
#include "tests/fakes/fake_dialogs.h"
#include "tests/gui/app/app_harness.h"
#include "tests/support/disk_faults.h"

namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& content) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(content);
}

unsigned ModeBits(const QString& path) {
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 0777) : 0;
}

// A temporary install prefix: bin/ for the executable, share/keyhaven/_.udb supplied with it,
// and a home with its own data folder.
class InstalledPrefix : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root_.isValid());
    prefix = root_.path() + "/prefix";
    bin = prefix + "/bin";
    dataHome = root_.path() + "/home/.local/share";
    ASSERT_TRUE(QDir().mkpath(bin));
    ASSERT_TRUE(QDir().mkpath(prefix + "/share/keyhaven"));
    supplied = prefix + "/share/keyhaven/_.udb";
    store::CreateDatabaseFile(supplied.toStdString(), crypto::MasterPasswordCipher("123456"), false);
  }

  vault::ProgramFolderLayout installedLayout() const { return vault::ChooseProgramFolder(bin, false, dataHome); }

  QTemporaryDir root_;
  QString prefix, bin, dataHome, supplied;
};

}  // namespace

TEST_F(InstalledPrefix, AWritableFolderOfItsOwnIsPortable) {
  QTemporaryDir portable;
  const vault::ProgramFolderLayout layout = vault::ChooseProgramFolder(portable.path(), true, dataHome);
  EXPECT_EQ(layout.folder, QFileInfo(portable.path()).canonicalFilePath() + "/");
  EXPECT_FALSE(layout.installed());
  EXPECT_TRUE(layout.suppliedDatabase.isEmpty());

  // A database beside the executable keeps a writable install prefix portable too.
  WriteAll(bin + "/_.udb", "own");
  const vault::ProgramFolderLayout own = vault::ChooseProgramFolder(bin + "/", true, dataHome);
  EXPECT_EQ(own.folder, QFileInfo(bin).canonicalFilePath() + "/");
  EXPECT_FALSE(own.installed());
}

TEST_F(InstalledPrefix, AFolderThatCannotBeWrittenKeepsTheDataInTheDataHome) {
  const vault::ProgramFolderLayout layout = installedLayout();
  EXPECT_TRUE(layout.installed());
  EXPECT_EQ(layout.folder, dataHome + "/keyhaven/");
  EXPECT_EQ(layout.suppliedDatabase, QFileInfo(supplied).canonicalFilePath());

  // Without a supplied database the folder is still not written to.
  QTemporaryDir readOnly;
  const vault::ProgramFolderLayout bare = vault::ChooseProgramFolder(readOnly.path(), false, dataHome + "/");
  EXPECT_EQ(bare.folder, dataHome + "/keyhaven/") << "one separator between the data home and keyhaven";
  EXPECT_TRUE(bare.installed());
}

TEST_F(InstalledPrefix, AWritableInstallPrefixWithoutADatabaseBesideTheProgramIsInstalled) {
  const vault::ProgramFolderLayout layout = vault::ChooseProgramFolder(bin, true, dataHome);
  EXPECT_TRUE(layout.installed());
  EXPECT_EQ(layout.folder, dataHome + "/keyhaven/");
}

TEST(ProgramFolderChoice, SystemFoldersAreNeverPortableEvenWhenWritable) {
  // Root may write to /usr/bin, yet an installed program must not put its data there.
  for (const QString folder : {"/usr/bin", "/usr/sbin", "/usr/local/bin/", "/usr/games", "/opt/keyhaven/bin", "/bin"}) {
    const vault::ProgramFolderLayout layout = vault::ChooseProgramFolder(folder, true, "/home/someone/.local/share");
    EXPECT_TRUE(layout.installed()) << folder.toStdString();
    EXPECT_EQ(layout.folder, "/home/someone/.local/share/keyhaven/") << folder.toStdString();
    EXPECT_TRUE(layout.suppliedDatabase.endsWith("/share/keyhaven/_.udb")) << layout.suppliedDatabase.toStdString();
  }
  EXPECT_EQ(vault::ChooseProgramFolder("/usr/bin", true, "/d").suppliedDatabase, "/usr/share/keyhaven/_.udb");
  // A build or a copy of one's own elsewhere below /usr or /opt stays portable.
  for (const QString folder : {"/usr/src/keyhaven/build/bin", "/opt/keyhaven", "/usrdata/bin", "/opt/bin/x"})
    EXPECT_FALSE(vault::ChooseProgramFolder(folder, true, "/d").installed()) << folder.toStdString();
}

TEST(ProgramFolderChoice, TheRunningTestIsPortable) {
  // The build folder is writable and has no share/keyhaven beside it.
  EXPECT_EQ(vault::ProgramFolder(), QFileInfo(QCoreApplication::applicationDirPath()).canonicalFilePath() + "/");
  EXPECT_FALSE(vault::CurrentProgramFolderLayout().installed());
}

TEST(ProgramFolderChoice, DataHomeIsAnAbsoluteXdgDataHomeElseTheHomeShare) {
  const QByteArray saved = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", "/srv/data");
  EXPECT_EQ(vault::DataHome(), "/srv/data");
  qputenv("XDG_DATA_HOME", "relative/data");
  EXPECT_EQ(vault::DataHome(), QDir::homePath() + "/.local/share") << "a relative path is ignored";
  qunsetenv("XDG_DATA_HOME");
  EXPECT_EQ(vault::DataHome(), QDir::homePath() + "/.local/share");
  if (!saved.isNull()) qputenv("XDG_DATA_HOME", saved);
}

TEST_F(InstalledPrefix, FirstStartCopiesTheSuppliedDatabaseAndSaysSoOnce) {
  const vault::ProgramFolderLayout layout = installedLayout();
  fakes::FakeDialogs dialogs;
  app::ProvideInitialDatabase(layout, dialogs);
  const QString database = layout.folder + "_.udb";
  ASSERT_TRUE(QFile::exists(database));
  EXPECT_EQ(ReadAll(database), ReadAll(supplied));
  EXPECT_EQ(ModeBits(database), 0600u) << "the database is the user's alone";
  EXPECT_EQ(ModeBits(layout.folder), 0700u);
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].kind, "message");
  EXPECT_EQ(dialogs.asked[0].text,
            "已在 " + layout.folder + " 建立新的数据库, 初始管理密码为 123456, 请登录后立即修改.");
  EXPECT_EQ(QDir(layout.folder).entryList(QDir::Files), QStringList{"_.udb"}) << "no temporary file is left";

  // Later starts find the database and say nothing; what the user changed stays.
  WriteAll(database, "changed by the user");
  app::ProvideInitialDatabase(layout, dialogs);
  EXPECT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(ReadAll(database), "changed by the user");
  EXPECT_EQ(vault::ProvideInitialDatabase(layout).outcome, vault::FirstStart::NothingToDo);
}

TEST_F(InstalledPrefix, AnExistingDatabaseOrLinkIsNeverReplaced) {
  const vault::ProgramFolderLayout layout = installedLayout();
  ASSERT_TRUE(QDir().mkpath(layout.folder));
  const QString database = layout.folder + "_.udb";
  ASSERT_TRUE(QFile::link(layout.folder + "moved-away.udb", database));
  EXPECT_EQ(vault::ProvideInitialDatabase(layout).outcome, vault::FirstStart::NothingToDo);
  EXPECT_TRUE(QFileInfo(database).isSymLink());
  EXPECT_FALSE(QFile::exists(layout.folder + "moved-away.udb")) << "nothing is written through the link";
}

TEST_F(InstalledPrefix, APortableProgramCopiesNothing) {
  QTemporaryDir portable;
  fakes::FakeDialogs dialogs;
  app::ProvideInitialDatabase(vault::ChooseProgramFolder(portable.path(), true, dataHome), dialogs);
  EXPECT_TRUE(dialogs.asked.empty());
  EXPECT_FALSE(QFile::exists(portable.path() + "/_.udb"));
  EXPECT_FALSE(QFileInfo::exists(dataHome + "/keyhaven"));
}

TEST_F(InstalledPrefix, AFailedCopyIsReportedAndLeavesNoDatabase) {
  ASSERT_TRUE(QFile::remove(supplied));
  const vault::ProgramFolderLayout layout = installedLayout();
  fakes::FakeDialogs dialogs;
  app::ProvideInitialDatabase(layout, dialogs);
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].kind, "error");
  EXPECT_TRUE(dialogs.asked[0].text.startsWith("无法在 " + layout.folder + " 建立数据库: "));
  EXPECT_TRUE(dialogs.asked[0].text.contains(layout.suppliedDatabase));
  EXPECT_TRUE(QDir(layout.folder).entryList(QDir::Files).isEmpty()) << "no partial or temporary file";

  // A file where the data folder belongs cannot be replaced by a folder either.
  ASSERT_TRUE(QDir().rmdir(layout.folder));
  WriteAll(QDir::cleanPath(layout.folder), "not a folder");
  store::CreateDatabaseFile(supplied.toStdString(), crypto::MasterPasswordCipher("123456"), false);
  EXPECT_EQ(vault::ProvideInitialDatabase(layout).outcome, vault::FirstStart::CopyFailed);
  EXPECT_EQ(ReadAll(QDir::cleanPath(layout.folder)), "not a folder");
}

TEST(FirstStart, TheCopiedDatabaseOpensWithTheInitialMasterPassword) {
  AppHarness app;
  QTemporaryDir share;
  const QString supplied = share.path() + "/_.udb";
  store::CreateDatabaseFile(supplied.toStdString(), crypto::MasterPasswordCipher("123456"), false);
  const QByteArray suppliedBefore = ReadAll(supplied);
  ASSERT_EQ(vault::ProvideInitialDatabase(vault::ProgramFolderLayout{app.folder(), supplied}).outcome,
            vault::FirstStart::DatabaseCopied);
  app.startAndLogin("123456");
  EXPECT_NE(app.scalar("select 序列号 from EnCrypt"), "0") << "the first login drew the key in the copy";
  EXPECT_EQ(ReadAll(supplied), suppliedBefore) << "the supplied file itself is left as it was";
}

TEST(StartUp, KeepsTheDatabaseToItsOwnerAndRemovesLeftoversOfKilledWriters) {
  QTemporaryDir tmp;
  const disk_faults::ScopedTmpDir tmpDir(tmp.path().toStdString());
  AppHarness app;
  app.makeDatabase();
  const QString database = QString::fromStdString(app.databasePath());
  ASSERT_EQ(::chmod(app.databasePath().c_str(), 0644), 0);
  WriteAll(tmp.path() + "/~ACPab12CD", "the copy of a killed compaction");
  const QString copy = QFileInfo(database).path() + "/.~copy-ab12CD";
  WriteAll(copy, "the copy of a killed backup");
  ASSERT_TRUE(app.create());
  EXPECT_EQ(ModeBits(database), 0600u);
  EXPECT_FALSE(QFile::exists(tmp.path() + "/~ACPab12CD"));
  EXPECT_FALSE(QFile::exists(copy));
}
