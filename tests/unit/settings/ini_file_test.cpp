#include "settings/ini_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using settings::IniFile;
using settings::IniWriteError;

// Code page 936 bytes of the names the program uses.
constexpr char kSection936[] = "\xC8\xED\xBC\xFE\xC5\xE4\xD6\xC3";  // 软件配置
constexpr char kPaste936[] = "\xD5\xB3\xCC\xF9\xCA\xBD";            // 粘贴式
constexpr char kNoPaste936[] = "\xB7\xC7\xD5\xB3\xCC\xF9\xCA\xBD";  // 非粘贴式

class IniFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "keyhaven-ini-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    path_ = (folder_ / "Config.ini").string();
  }
  void TearDown() override { fs::remove_all(folder_); }

  void writeBytes(const std::string& bytes) const { std::ofstream(path_, std::ios::binary) << bytes; }
  std::string readBytes() const {
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
  std::size_t filesInFolder() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
  }

  fs::path folder_;
  std::string path_;
};

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault) {
  const IniFile ini(path_);
  EXPECT_TRUE(ini.readBool("软件配置", "粘贴式", true));
  EXPECT_TRUE(ini.readBool("软件配置", "非粘贴式", true));
  EXPECT_FALSE(ini.readBool("软件配置", "粘贴式", false));
  EXPECT_EQ(ini.readString("软件配置", "粘贴式", "fallback"), "fallback");
  EXPECT_EQ(ini.readInteger("软件配置", "粘贴式", 42), 42);
  EXPECT_FALSE(fs::exists(path_)) << "reading must not create the file";

  writeBytes("[other]\r\n粘贴式=0\r\n");
  EXPECT_TRUE(ini.readBool("软件配置", "粘贴式", true));
  writeBytes(std::string("[") + kSection936 + "]\r\nsomething=0\r\n");
  EXPECT_TRUE(ini.readBool("软件配置", "粘贴式", true));
  writeBytes(std::string(kPaste936) + "=0\r\n");  // a key before any section belongs to none
  EXPECT_TRUE(ini.readBool("软件配置", "粘贴式", true));
}

TEST_F(IniFileTest, ReadsAHandWrittenCodePage936FileWithEitherLineEnd) {
  const std::string crlf =
      std::string("; written on Windows\r\n[") + kSection936 + "]\r\n" + kPaste936 + "=1\r\n" + kNoPaste936 + "=0\r\n";
  for (const std::string& bytes :
       {crlf, std::string("[") + kSection936 + "]\n" + kPaste936 + "=1\n" + kNoPaste936 + "=0"}) {
    writeBytes(bytes);
    const IniFile ini(path_);
    EXPECT_TRUE(ini.readBool("软件配置", "粘贴式", false));
    EXPECT_FALSE(ini.readBool("软件配置", "非粘贴式", true));
    EXPECT_EQ(ini.readString("软件配置", "非粘贴式", ""), "0");
  }
}

TEST_F(IniFileTest, ReadsIntegersAsWholeNumbersOrHexadecimalAfter0x) {
  writeBytes(
      "[n]\r\none=1\r\nzero=0\r\nhex=0x10\r\nHEX=0X1f\r\nnegative=-7\r\nplus=+3\r\nspaced=   5  \r\n"
      "garbage=garbage\r\ntrailing=12abc\r\nempty=\r\nbarehex=0x\r\nbadhex=0xZZ\r\nhuge=99999999999\r\n"
      "allbits=0xFFFFFFFF\r\nhexzero=0x0\r\nspace inside=1 2\r\n");
  const IniFile ini(path_);
  EXPECT_EQ(ini.readInteger("n", "one", 9), 1);
  EXPECT_EQ(ini.readInteger("n", "zero", 9), 0);
  EXPECT_EQ(ini.readInteger("n", "hex", 9), 16);
  EXPECT_EQ(ini.readInteger("n", "negative", 9), -7);
  EXPECT_EQ(ini.readInteger("n", "plus", 9), 3);
  EXPECT_EQ(ini.readInteger("n", "spaced", 9), 5);
  EXPECT_EQ(ini.readInteger("n", "allbits", 9), -1);
  for (const char* notANumber : {"garbage", "trailing", "empty", "barehex", "badhex", "huge", "space inside"}) {
    EXPECT_EQ(ini.readInteger("n", notANumber, 9), 9) << notANumber;
    EXPECT_TRUE(ini.readBool("n", notANumber, true)) << notANumber;
    EXPECT_FALSE(ini.readBool("n", notANumber, false)) << notANumber;
  }
  EXPECT_TRUE(ini.readBool("n", "one", false));
  EXPECT_TRUE(ini.readBool("n", "hex", false));
  EXPECT_TRUE(ini.readBool("n", "negative", false));
  EXPECT_FALSE(ini.readBool("n", "zero", true));
  EXPECT_FALSE(ini.readBool("n", "hexzero", true));
}

TEST_F(IniFileTest, NamesIgnoreLetterCaseAndValuesLoseSurroundingBlanksAndQuotes) {
  // 丄 (81 41) and 乤 (81 61) differ only in a second byte that looks like 'A' and 'a'.
  writeBytes(
      "  [ Settings ]  \r\n  Paste Mode  =  on and off  \r\nquoted=\"  kept  \"\r\nsingle='x'\r\nhalf=\"x\r\n"
      "[\x81\x41]\r\nk=first\r\n[SETTINGS]\r\nlater=ignored\r\n");
  const IniFile ini(path_);
  EXPECT_EQ(ini.readString("settings", "PASTE MODE", ""), "on and off");
  EXPECT_EQ(ini.readString("SeTtInGs", "paste mode", ""), "on and off");
  EXPECT_EQ(ini.readString("settings", "quoted", ""), "  kept  ");
  EXPECT_EQ(ini.readString("settings", "single", ""), "x");
  EXPECT_EQ(ini.readString("settings", "half", ""), "\"x");
  EXPECT_EQ(ini.readString("丄", "k", "none"), "first");
  EXPECT_EQ(ini.readString("乤", "k", "none"), "none");
}

TEST_F(IniFileTest, WriteCreatesTheFileInCodePage936WithCrlf) {
  IniFile ini(path_);
  ini.writeString("软件配置", "粘贴式", "1");
  ini.writeString("软件配置", "非粘贴式", "0");
  EXPECT_EQ(readBytes(), std::string("[") + kSection936 + "]\r\n" + kPaste936 + "=1\r\n" + kNoPaste936 + "=0\r\n");
  ini.writeString("软件配置", "粘贴式", "0");
  ini.writeString("软件配置", "非粘贴式", "1");
  EXPECT_EQ(readBytes(), std::string("[") + kSection936 + "]\r\n" + kPaste936 + "=0\r\n" + kNoPaste936 + "=1\r\n");
  EXPECT_FALSE(ini.readBool("软件配置", "粘贴式", true));
  EXPECT_TRUE(ini.readBool("软件配置", "非粘贴式", false));
  EXPECT_EQ(filesInFolder(), 1u) << "no temporary file may be left behind";
}

TEST_F(IniFileTest, WriteKeepsEveryOtherLine) {
  const std::string invalid936 = "\xFF\xFE raw";
  writeBytes("; comment\n\n[first]\nKey = old value \nother=2\nno equals sign\n\n[second]\nkey=untouched\n" +
             invalid936 + "\n");
  IniFile ini(path_);
  ini.writeString("FIRST", "key", "new");
  ini.writeString("first", "added", "中文值");
  ini.writeString("third", "k", "v");
  EXPECT_EQ(readBytes(),
            "; comment\r\n\r\n[first]\r\nKey=new\r\nother=2\r\nno equals sign\r\nadded=\xD6\xD0\xCE\xC4\xD6\xB5\r\n\r\n"
            "[second]\r\nkey=untouched\r\n" +
                invalid936 + "\r\n[third]\r\nk=v\r\n");
  EXPECT_EQ(ini.readString("first", "added", ""), "中文值");
  EXPECT_EQ(ini.readString("second", "key", ""), "untouched");
}

TEST_F(IniFileTest, WriteKeepsTheFilePermissions) {
  writeBytes("[s]\r\nk=1\r\n");
  ASSERT_EQ(::chmod(path_.c_str(), 0600), 0);
  IniFile(path_).writeString("s", "k", "0");
  struct stat st {};
  ASSERT_EQ(::stat(path_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
}

TEST_F(IniFileTest, AFailedWriteThrowsTheMessageAndLeavesTheOldFileIntact) {
  // A folder that is a regular file cannot hold the settings file, not even for root.
  const std::string blocked = (folder_ / "not-a-folder").string();
  std::ofstream(blocked) << "x";
  const std::string unreachable = blocked + "/Config.ini";
  try {
    IniFile(unreachable).writeString("软件配置", "粘贴式", "1");
    ADD_FAILURE() << "no error";
  } catch (const IniWriteError& error) {
    EXPECT_STREQ(error.what(), ("Unable to write to " + unreachable).c_str());
  }

  // A write that runs out of space half-way: the file-size limit stands in for a full disk.
  const std::string old = "[软件配置]\r\nkeep=me\r\n";
  writeBytes(old);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 16;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string message;
  try {
    IniFile(path_).writeString("软件配置", "long", std::string(100, 'v'));
  } catch (const IniWriteError& error) {
    message = error.what();
  }
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_EQ(message, "Unable to write to " + path_);
  EXPECT_EQ(readBytes(), old);
  EXPECT_EQ(filesInFolder(), 2u) << "the temporary file must be removed";
}

TEST_F(IniFileTest, RelativePathsAreReportedInFull) {
  const fs::path saved = fs::current_path();
  fs::current_path(folder_);
  const IniFile ini("Config.ini");
  fs::current_path(saved);
  EXPECT_EQ(ini.path(), path_);
}

TEST_F(IniFileTest, RefusesNamesAndValuesThatWouldBreakTheLineStructure) {
  IniFile ini(path_);
  EXPECT_THROW(ini.writeString("s", "k=x", "v"), std::invalid_argument);
  EXPECT_THROW(ini.writeString("s", "", "v"), std::invalid_argument);
  EXPECT_THROW(ini.writeString("s]", "k", "v"), std::invalid_argument);
  EXPECT_THROW(ini.writeString("s", "k", "v\r\n[injected]"), std::invalid_argument);
  EXPECT_THROW(ini.writeString("s\n", "k", "v"), std::invalid_argument);
  EXPECT_FALSE(fs::exists(path_));
}

TEST_F(IniFileTest, EmptyBinaryAndHugeFilesDoNotUpsetTheReader) {
  const IniFile ini(path_);
  writeBytes("");
  EXPECT_TRUE(ini.readBool("软件配置", "粘贴式", true));

  std::mt19937 random(7);
  std::string binary;
  for (int i = 0; i < 300'000; ++i) binary += static_cast<char>(random() % 256);
  writeBytes(binary);
  EXPECT_EQ(ini.readInteger("软件配置", "粘贴式", 5), 5);

  // A key early in a file far larger than the limit is found; one past the limit is not.
  std::string huge = "[s]\r\nearly=1\r\n" + std::string(3 << 20, 'x') + "\r\nlate=0\r\n";
  writeBytes(huge);
  EXPECT_EQ(ini.readInteger("s", "early", 9), 1);
  EXPECT_EQ(ini.readInteger("s", "late", 9), 9);
  // Rewriting it from the part that was read would lose the rest.
  EXPECT_THROW(IniFile(path_).writeString("s", "early", "0"), IniWriteError);
  EXPECT_EQ(readBytes(), huge);
}

}  // namespace
