#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "settings/ini_file.h"

namespace {

using settings::Settings;
using settings::SettingsFile;

class SettingsFileTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.isValid()); }

  QString programFolder() const { return folder_.path() + QDir::separator(); }
  settings::IniFile ini() const { return settings::IniFile((programFolder() + "Config.ini").toStdString()); }
  void set(const char* key, const char* value) const { ini().writeString(SettingsFile::kSection, key, value); }
  std::string get(const char* key) const { return ini().readString(SettingsFile::kSection, key, "<missing>"); }

  QTemporaryDir folder_;
};

TEST_F(SettingsFileTest, MissingFileAndMissingKeysGiveTheDefaults) {
  const SettingsFile file(programFolder());
  const Settings read = file.read();
  EXPECT_EQ(read.locking.idleMinutes, 10);
  EXPECT_TRUE(read.locking.lockOnScreenLock);
  EXPECT_FALSE(read.locking.clearOnLock);
  EXPECT_EQ(read.clipboardSeconds, 60);
  EXPECT_EQ(read.hotKeys.account, "Ctrl+Left");
  EXPECT_EQ(read.hotKeys.password, "Ctrl+Right");
  EXPECT_EQ(read.hotKeyArmedMinutes, 2);
  EXPECT_EQ(read.generator, (crypto::PasswordRules{.length = 16}));
  EXPECT_TRUE(read.generator.upperCase && read.generator.lowerCase && read.generator.digits && read.generator.symbols &&
              read.generator.excludeLookAlikes);

  set("粘贴式", "1");  // a file of the older program, with only the auto-fill keys
  set("非粘贴式", "0");
  EXPECT_EQ(file.read(), Settings{});
}

TEST_F(SettingsFileTest, WrittenValuesReadBackAndLeaveTheAutoFillKeysAlone) {
  set("粘贴式", "1");
  const SettingsFile file(programFolder());
  Settings chosen;
  chosen.locking = {.idleMinutes = 15, .lockOnScreenLock = false, .clearOnLock = true};
  chosen.clipboardSeconds = 600;
  chosen.hotKeys = {"Ctrl+Alt+P", "Meta+F5"};
  chosen.hotKeyArmedMinutes = 0;
  chosen.generator = {
      .length = 4, .upperCase = false, .lowerCase = true, .digits = false, .symbols = true, .excludeLookAlikes = false};
  file.writeLocking(chosen.locking);
  file.writeClipboardSeconds(chosen.clipboardSeconds);
  file.writeAccountHotKey(chosen.hotKeys.account);
  file.writePasswordHotKey(chosen.hotKeys.password);
  file.writeHotKeyArmedMinutes(chosen.hotKeyArmedMinutes);
  file.writeGenerator(chosen.generator);
  EXPECT_EQ(file.read(), chosen);
  EXPECT_EQ(get("空闲锁定分钟"), "15");
  EXPECT_EQ(get("屏幕锁定时锁定"), "0");
  EXPECT_EQ(get("锁定时清除"), "1");
  EXPECT_EQ(get("剪贴板清空秒数"), "600");
  EXPECT_EQ(get("帐号热键"), "Ctrl+Alt+P");
  EXPECT_EQ(get("选中记录后热键有效分钟"), "0");
  EXPECT_EQ(get("密码长度"), "4");
  EXPECT_EQ(get("排除易混淆字符"), "0");
  EXPECT_EQ(get("粘贴式"), "1");
}

TEST_F(SettingsFileTest, ValuesOutOfRangeOrUnusableFallBack) {
  const SettingsFile file(programFolder());
  set("空闲锁定分钟", "-5");
  set("剪贴板清空秒数", "3");
  set("密码长度", "1000");
  EXPECT_EQ(file.read().locking.idleMinutes, 0);
  EXPECT_EQ(file.read().clipboardSeconds, 10);
  EXPECT_EQ(file.read().generator.length, 64);
  set("空闲锁定分钟", "99999");
  set("剪贴板清空秒数", "many");
  EXPECT_EQ(file.read().locking.idleMinutes, 1440);
  EXPECT_EQ(file.read().clipboardSeconds, 60);

  set("大写字母", "0");
  set("小写字母", "0");
  set("数字", "0");
  set("符号", "0");
  EXPECT_EQ(file.read().generator, (crypto::PasswordRules{.length = 64}));  // no class: all four again

  set("帐号热键", "Shift+P");  // no Ctrl, Alt or Meta
  EXPECT_EQ(file.read().hotKeys, settings::HotKeySettings{});
  set("帐号热键", "Ctrl+Right");  // the same as the password's
  EXPECT_EQ(file.read().hotKeys, settings::HotKeySettings{});
  set("帐号热键", "Ctrl+Up");
  EXPECT_EQ(file.read().hotKeys.account, "Ctrl+Up");
  EXPECT_FALSE(settings::IsUsableHotKeyPair("Ctrl+Up", "Ctrl+Up"));
  EXPECT_TRUE(settings::IsUsableHotKeyPair("Ctrl+Up", "Ctrl+Down"));
}

TEST_F(SettingsFileTest, DailyBackupsKeepSevenUnlessTheFileSaysHowMany) {
  const SettingsFile file(programFolder());
  EXPECT_EQ(file.read().dailyBackups, 7);
  set("保留每日备份", "0");
  EXPECT_EQ(file.read().dailyBackups, 0);
  set("保留每日备份", "30");
  EXPECT_EQ(file.read().dailyBackups, 30);
  set("保留每日备份", "-1");
  EXPECT_EQ(file.read().dailyBackups, 0);
}

}  // namespace
