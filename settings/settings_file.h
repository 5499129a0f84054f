#pragma once
// The settings of Config.ini: how the hot keys enter values, automatic locking, the clipboard's time, the chosen hot
// keys and how long a pick arms them, the password generator's last choice, how many daily backups and how much of the
// records' history are kept. A missing key or one that is not a number gives the default, a number out of range the
// nearest allowed one; a copy of the program that does not know these keys leaves them alone.
#include <QString>

#include "crypto/password_generator.h"

namespace settings {

enum class AutoFillMode { Paste, Keystrokes };

struct LockingSettings {
  static constexpr int kLongestIdleMinutes = 1440;

  // 0: never. Without a choice of the user's, a program left unlocked locks after 10 minutes.
  int idleMinutes = 10;
  bool lockOnScreenLock = true;
  bool clearOnLock = false;  // the record form, our clipboard copy and the hot keys

  bool operator==(const LockingSettings&) const = default;
};

struct HotKeySettings {
  static constexpr const char* kDefaultAccount = "Ctrl+Left";
  static constexpr const char* kDefaultPassword = "Ctrl+Right";

  QString account = kDefaultAccount;  // Qt's portable key text
  QString password = kDefaultPassword;

  bool operator==(const HotKeySettings&) const = default;
};

struct Settings {
  static constexpr int kShortestClipboardSeconds = 10;
  static constexpr int kLongestClipboardSeconds = 600;
  static constexpr int kMostDailyBackups = 3650;
  static constexpr int kMostHistoryVersions = 1000;
  static constexpr int kLongestDeletedDays = 3650;
  static constexpr int kLongestHotKeyArmedMinutes = 1440;

  LockingSettings locking;
  int clipboardSeconds = 60;
  HotKeySettings hotKeys;
  // How long a pick arms the hot keys; 0: from the first pick until a lock lets them go.
  int hotKeyArmedMinutes = 2;
  crypto::PasswordRules generator;
  int dailyBackups = 7;  // 0: none taken
  // The history of the records: versions kept per record, days a deleted record is kept (0: none).
  int historyVersions = 10;
  int deletedDays = 30;

  bool operator==(const Settings&) const = default;
};

// Both texts name usable hot keys (platform::HotKeyFromText) and the two differ.
bool IsUsableHotKeyPair(const QString& account, const QString& password);

class SettingsFile {
 public:
  static constexpr const char* kFileName = "Config.ini";
  static constexpr const char* kSection = "软件配置";
  static constexpr const char* kPasteKey = "粘贴式";
  static constexpr const char* kKeystrokeKey = "非粘贴式";
  static constexpr const char* kIdleMinutesKey = "空闲锁定分钟";
  static constexpr const char* kLockOnScreenLockKey = "屏幕锁定时锁定";
  static constexpr const char* kClearOnLockKey = "锁定时清除";
  static constexpr const char* kClipboardSecondsKey = "剪贴板清空秒数";
  static constexpr const char* kAccountHotKeyKey = "帐号热键";
  static constexpr const char* kPasswordHotKeyKey = "密码热键";
  static constexpr const char* kHotKeyArmedMinutesKey = "选中记录后热键有效分钟";
  static constexpr const char* kPasswordLengthKey = "密码长度";
  static constexpr const char* kUpperCaseKey = "大写字母";
  static constexpr const char* kLowerCaseKey = "小写字母";
  static constexpr const char* kDigitsKey = "数字";
  static constexpr const char* kSymbolsKey = "符号";
  static constexpr const char* kExcludeLookAlikesKey = "排除易混淆字符";
  static constexpr const char* kDailyBackupsKey = "保留每日备份";
  static constexpr const char* kHistoryVersionsKey = "保留历史版本数";
  static constexpr const char* kDeletedDaysKey = "保留已删除天数";

  // programFolder ends in a path separator.
  explicit SettingsFile(const QString& programFolder);

  // Hot keys that are unusable or equal fall back to both defaults; a generator choice without
  // any class falls back to all four.
  Settings read() const;
  // Each key reads true when missing or not a number; a true keystroke key wins over the paste key,
  // and with both false the window's own choice stays.
  AutoFillMode readAutoFillMode(AutoFillMode designChoice) const;

  // Each write throws platform::IniWriteError ("Unable to write to <path>") when the file
  // cannot be written.
  void writeAutoFillMode(AutoFillMode mode) const;
  void writeLocking(const LockingSettings& locking) const;
  void writeClipboardSeconds(int seconds) const;
  void writeAccountHotKey(const QString& portableText) const;
  void writePasswordHotKey(const QString& portableText) const;
  void writeHotKeyArmedMinutes(int minutes) const;
  void writeGenerator(const crypto::PasswordRules& rules) const;

 private:
  std::string path_;
};

}  // namespace settings
