#include "store/backup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <utility>

#include "store/file_copy.h"
#include "store/private_file.h"
#include "store/query.h"
#include "store/statements.h"
#include "store_test_support.h"

namespace store {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// The last path component of a backup name.
std::string FileNamePart(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

unsigned ModeBits(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

// A file system without hard links refuses link(2) with `Error`.
template <int Error>
int RefusedLink(const char*, const char*) {
  errno = Error;
  return -1;
}

bool IsWholeUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80           ? 1
                               : (lead >> 5) == 0x6  ? 2
                               : (lead >> 4) == 0xE  ? 3
                               : (lead >> 3) == 0x1E ? 4
                                                     : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

TEST(BackupStamp, RemovesTheFourSeparators) {
  EXPECT_EQ(BackupStamp("2013-02-04 09:05:07"), "20130204090507");
  EXPECT_EQ(BackupStamp("2013/2/4 9:05:07"), "20132490507");
  EXPECT_EQ(BackupStamp("04.02.2013 下午 9:05:07"), "04.02.2013下午90507") << "other characters stay";
  EXPECT_EQ(BackupStamp(""), "");
}

TEST(BackupFileName, JoinsFolderPrefixStampAndSuffix) {
  EXPECT_EQ(BackupFileName("/p/", kPasswordBackupPrefix, "2013-02-04 09:05:07"),
            "/p/修改密码前备份_bak_20130204090507_.udb");
  EXPECT_EQ(CategoryBackupPrefix("网站"), "删除[网站]分类前备份_bak_");
  EXPECT_EQ(BackupFileName("/p/", CategoryBackupPrefix("网站"), "2013-02-04 09:05:07"),
            "/p/删除[网站]分类前备份_bak_20130204090507_.udb");
}

TEST(BackupFileName, CharactersNoFileNameTakesBecomeUnderscores) {
  const std::string name = BackupFileName("/p/", CategoryBackupPrefix("a/b\\c:d*e?f\"g<h>i|j\tk"), "2013-02-04 1:2:3");
  EXPECT_EQ(name, "/p/删除[a_b_c_d_e_f_g_h_i_j_k]分类前备份_bak_20130204123_.udb");
  EXPECT_EQ(BackupFileName("/p/", CategoryBackupPrefix(std::string("x\0y", 3)), "1"),
            "/p/删除[x_y]分类前备份_bak_1_.udb");
  EXPECT_EQ(BackupFileName("/p/", kPasswordBackupPrefix, "2013\\02\\04"), "/p/修改密码前备份_bak_2013_02_04_.udb");
}

TEST(BackupFileName, LongNamesAreShortenedAtACharacterBoundary) {
  std::string category;
  for (int i = 0; i < 120; ++i) category += "账";  // 360 bytes
  for (const std::string& extra : {std::string(), std::string("a"), std::string("ab")}) {
    const std::string name =
        FileNamePart(BackupFileName("/p/", CategoryBackupPrefix(extra + category), "2013-02-04 09:05:07"));
    EXPECT_LE(name.size(), 255u);
    EXPECT_GE(name.size(), 252u) << "no more is cut than needed";
    EXPECT_TRUE(IsWholeUtf8(name)) << name;
    EXPECT_TRUE(name.starts_with("删除[" + extra + "账账")) << name;
    EXPECT_TRUE(name.ends_with("]分类前备份_bak_20130204090507_.udb")) << name;
  }
  const std::string numbered =
      FileNamePart(BackupFileName("/p/", CategoryBackupPrefix(category), "2013-02-04 09:05:07", 12));
  EXPECT_LE(numbered.size(), 255u);
  EXPECT_TRUE(numbered.ends_with("]分类前备份_bak_20130204090507_12_.udb")) << numbered;
  // A short name is left whole.
  const std::string whole = CategoryBackupPrefix(category.substr(0, 60));
  EXPECT_EQ(FileNamePart(BackupFileName("/p/", whole, "1")), whole + "1_.udb");
}

class TakeBackupTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::MakeProgramDatabase(folder_); }
  std::string database() const { return folder_.file("_.udb"); }
  TempFolder folder_;
};

TEST_F(TakeBackupTest, CopiesTheDatabaseByteForByte) {
  const std::string clock = "2013-02-04 09:05:07";
  ASSERT_TRUE(TakeBackup(folder_.programFolder(), kPasswordBackupPrefix, clock));
  const std::string backup = BackupFileName(folder_.programFolder(), kPasswordBackupPrefix, clock);
  EXPECT_EQ(ReadBytes(backup), ReadBytes(database()));
  EXPECT_EQ(folder_.entries().size(), 2u) << "no temporary file is left beside it";

  // Another database of the folder is the one copied, named after itself.
  std::filesystem::rename(database(), folder_.file("other.udb"));
  ASSERT_TRUE(TakeBackup(folder_.programFolder(), kPasswordBackupPrefix, clock, "other.udb"));
  EXPECT_EQ(ReadBytes(folder_.file("修改密码前备份_bak_20130204090507_other.udb")),
            ReadBytes(folder_.file("other.udb")));
  std::filesystem::rename(folder_.file("other.udb"), database());

  Connection copy;
  copy.setConnectionString("Data Source=" + backup + ";Jet OLEDB:Database Password=" + std::string(kDatabasePassword));
  Query q(copy);
  q.addSql(sql::SelectMasterPassword());
  q.open();
  EXPECT_EQ(q.field(0), testing::kSomeMasterCipher) << "the backup opens like the database";
}

TEST_F(TakeBackupTest, OddCategoryNamesStillGiveABackup) {
  std::string longName;
  for (int i = 0; i < 100; ++i) longName += "删";
  for (const std::string& category : {std::string("a/b"), std::string("why?"), longName}) {
    const std::string prefix = CategoryBackupPrefix(category);
    EXPECT_TRUE(TakeBackup(folder_.programFolder(), prefix, "2013-02-04 09:05:07")) << category;
    EXPECT_EQ(ReadBytes(BackupFileName(folder_.programFolder(), prefix, "2013-02-04 09:05:07")), ReadBytes(database()));
  }
  EXPECT_EQ(folder_.entries().size(), 4u);
}

TEST_F(TakeBackupTest, ABackupNeverReplacesAnEarlierOne) {
  const std::string clock = "2013-02-04 09:05:07";
  const std::string original = ReadBytes(database());
  ASSERT_TRUE(TakeBackup(folder_.programFolder(), kPasswordBackupPrefix, clock));
  {
    Connection connection;
    connection.setConnectionString(BuildConnectionString(folder_.programFolder()));
    Query q(connection);
    q.addSql(sql::UpdateMasterPassword("AAAAAAAAAAAAAAAA"));
    q.execSql();
    ASSERT_TRUE(TakeBackup(folder_.programFolder(), kPasswordBackupPrefix, clock))
        << "taken while the connection is open";
  }
  ASSERT_TRUE(TakeBackup(folder_.programFolder(), kPasswordBackupPrefix, clock));
  EXPECT_EQ(BackupFileName("/p/", kPasswordBackupPrefix, clock, 2), "/p/修改密码前备份_bak_20130204090507_2_.udb");
  EXPECT_TRUE(ReadBytes(BackupFileName(folder_.programFolder(), kPasswordBackupPrefix, clock)) == original)
      << "the earlier backup stays as it was";
  for (int copy : {2, 3})
    EXPECT_TRUE(ReadBytes(BackupFileName(folder_.programFolder(), kPasswordBackupPrefix, clock, copy)) ==
                ReadBytes(database()))
        << copy;
  EXPECT_EQ(folder_.entries().size(), 4u);
}

TEST_F(TakeBackupTest, CopiesAreTheUsersAloneWhateverTheDatabasesMode) {
  ASSERT_EQ(::chmod(database().c_str(), 0644), 0);
  ASSERT_TRUE(TakeBackup(folder_.programFolder(), kPasswordBackupPrefix, "1"));
  EXPECT_EQ(ModeBits(BackupFileName(folder_.programFolder(), kPasswordBackupPrefix, "1")), 0600u);
  const std::string replaced = folder_.file("replaced");
  WriteBytes(replaced, "old");
  ASSERT_EQ(::chmod(replaced.c_str(), 0644), 0);
  ASSERT_TRUE(CopyFileAtomically(database(), replaced));
  EXPECT_EQ(ModeBits(replaced), 0600u) << "not the mode of the file it replaced";
}

TEST_F(TakeBackupTest, FailuresReturnFalseAndLeaveNothingBehind) {
  TempFolder empty;
  EXPECT_FALSE(TakeBackup(empty.programFolder(), kPasswordBackupPrefix, "1")) << "no database to copy";
  EXPECT_TRUE(empty.entries().empty());

  // A folder that is really a regular file cannot take the copy.
  const std::string blocker = folder_.file("blocker");
  WriteBytes(blocker, "x");
  EXPECT_FALSE(CopyFileAtomically(database(), blocker + "/backup.udb"));
  EXPECT_FALSE(CopyFileAtomically(folder_.path().string(), folder_.file("copy-of-a-folder")));
  EXPECT_EQ(folder_.entries(), (std::vector<std::string>{"_.udb", "blocker"}));
}

TEST_F(TakeBackupTest, AFailedCopyKeepsTheFileItWouldReplace) {
  const std::string target = folder_.file("target");
  WriteBytes(target, "previous content");
  EXPECT_FALSE(CopyFileAtomically(folder_.file("missing"), target));
  EXPECT_EQ(ReadBytes(target), "previous content");
  EXPECT_TRUE(CopyFileAtomically(database(), target));
  EXPECT_EQ(ReadBytes(target), ReadBytes(database()));
}

TEST_F(TakeBackupTest, ACopyWithoutReplacingLeavesAnExistingFileAlone) {
  const std::string target = folder_.file("first-start.udb");
  EXPECT_EQ(CopyFileWithoutReplacing(database(), target), 0);
  EXPECT_EQ(ReadBytes(target), ReadBytes(database()));
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 077, 0u) << "the copy is the user's alone";

  WriteBytes(target, "the user's own file");
  EXPECT_EQ(CopyFileWithoutReplacing(database(), target), EEXIST);
  EXPECT_EQ(ReadBytes(target), "the user's own file");
  EXPECT_EQ(CopyFileWithoutReplacing(folder_.file("missing"), folder_.file("other.udb")), ENOENT);
  EXPECT_EQ(folder_.entries(), (std::vector<std::string>{"_.udb", "first-start.udb"})) << "no temporary file is left";
}

TEST_F(TakeBackupTest, WithoutHardLinksTheNameIsCreatedExclusively) {
  const std::string finished = folder_.file("finished");
  WriteBytes(finished, "complete copy");
  const std::pair<HardLink, std::string> refusals[] = {
      {&RefusedLink<EPERM>, "fat"}, {&RefusedLink<ENOTSUP>, "exfat"}, {&RefusedLink<EXDEV>, "elsewhere"}};
  for (const auto& [link, name] : refusals) {
    EXPECT_EQ(PublishWithoutReplacing(finished, folder_.file(name), link), 0) << name;
    EXPECT_EQ(ReadBytes(folder_.file(name)), "complete copy") << name;
    EXPECT_EQ(ModeBits(folder_.file(name)), 0600u) << name;
  }

  const std::string taken = folder_.file("taken");
  WriteBytes(taken, "the user's own file");
  EXPECT_EQ(PublishWithoutReplacing(finished, taken, &RefusedLink<EPERM>), EEXIST);
  EXPECT_EQ(ReadBytes(taken), "the user's own file");

  // A folder cannot be read as a file: the write fails and the half-made name goes again.
  std::filesystem::create_directory(folder_.file("unreadable"));
  EXPECT_EQ(PublishWithoutReplacing(folder_.file("unreadable"), folder_.file("half"), &RefusedLink<EPERM>), EISDIR);
  EXPECT_FALSE(std::filesystem::exists(folder_.file("half")));

  EXPECT_EQ(PublishWithoutReplacing(finished, folder_.file("denied"), &RefusedLink<EACCES>), EACCES)
      << "other refusals are reported as they are";
  EXPECT_FALSE(std::filesystem::exists(folder_.file("denied")));
}

TEST(KeepToOwner, TakesGroupAndOthersOffTheUsersOwnFile) {
  TempFolder folder;
  const std::pair<mode_t, mode_t> modes[] = {{0644, 0600}, {0660, 0600}, {0755, 0700}, {0600, 0600}, {0400, 0400}};
  for (const auto& [before, after] : modes) {
    const std::string file = folder.file("mode" + std::to_string(before));
    WriteBytes(file, "x");
    ASSERT_EQ(::chmod(file.c_str(), before), 0);
    KeepToOwner(file);
    EXPECT_EQ(ModeBits(file), after) << std::oct << before;
  }
  KeepToOwner(folder.file("missing"));
  EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));
  // Another user's file is theirs to protect; only root can make one here.
  if (::geteuid() == 0) {
    const std::string foreign = folder.file("foreign");
    WriteBytes(foreign, "x");
    ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(foreign.c_str(), 0644), 0);
    KeepToOwner(foreign);
    EXPECT_EQ(ModeBits(foreign), 0644u);
  }
}

}  // namespace
}  // namespace store
