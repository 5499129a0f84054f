#include "settings/settings_file.h"

#include <algorithm>
#include <string>

#include "platform/hot_key_text.h"
#include "settings/ini_file.h"

namespace settings {
namespace {

const char* Flag(bool on) { return on ? "1" : "0"; }

int ReadClamped(const IniFile& ini, const char* key, int def, int lowest, int highest) {
  return std::clamp(ini.readInteger(SettingsFile::kSection, key, def), lowest, highest);
}

}  // namespace

bool IsUsableHotKeyPair(const QString& account, const QString& password) {
  const auto accountKey = platform::HotKeyFromText(account);
  const auto passwordKey = platform::HotKeyFromText(password);
  return accountKey && passwordKey && *accountKey != *passwordKey;
}

SettingsFile::SettingsFile(const QString& programFolder) : path_((programFolder + kFileName).toStdString()) {}

Settings SettingsFile::read() const {
  const IniFile ini(path_);
  Settings settings;

  LockingSettings& locking = settings.locking;
  locking.idleMinutes = ReadClamped(ini, kIdleMinutesKey, locking.idleMinutes, 0, LockingSettings::kLongestIdleMinutes);
  locking.lockOnScreenLock = ini.readBool(kSection, kLockOnScreenLockKey, locking.lockOnScreenLock);
  locking.clearOnLock = ini.readBool(kSection, kClearOnLockKey, locking.clearOnLock);

  settings.clipboardSeconds = ReadClamped(ini, kClipboardSecondsKey, settings.clipboardSeconds,
                                          Settings::kShortestClipboardSeconds, Settings::kLongestClipboardSeconds);

  const QString account =
      QString::fromStdString(ini.readString(kSection, kAccountHotKeyKey, HotKeySettings::kDefaultAccount));
  const QString password =
      QString::fromStdString(ini.readString(kSection, kPasswordHotKeyKey, HotKeySettings::kDefaultPassword));
  if (IsUsableHotKeyPair(account, password)) settings.hotKeys = {account, password};
  settings.hotKeyArmedMinutes =
      ReadClamped(ini, kHotKeyArmedMinutesKey, settings.hotKeyArmedMinutes, 0, Settings::kLongestHotKeyArmedMinutes);

  crypto::PasswordRules& rules = settings.generator;
  rules.length = ReadClamped(ini, kPasswordLengthKey, rules.length, crypto::PasswordRules::kShortest,
                             crypto::PasswordRules::kLongest);
  crypto::PasswordRules read = rules;
  read.upperCase = ini.readBool(kSection, kUpperCaseKey, rules.upperCase);
  read.lowerCase = ini.readBool(kSection, kLowerCaseKey, rules.lowerCase);
  read.digits = ini.readBool(kSection, kDigitsKey, rules.digits);
  read.symbols = ini.readBool(kSection, kSymbolsKey, rules.symbols);
  read.excludeLookAlikes = ini.readBool(kSection, kExcludeLookAlikesKey, rules.excludeLookAlikes);
  if (read.upperCase || read.lowerCase || read.digits || read.symbols) rules = read;

  settings.dailyBackups = ReadClamped(ini, kDailyBackupsKey, settings.dailyBackups, 0, Settings::kMostDailyBackups);
  settings.historyVersions =
      ReadClamped(ini, kHistoryVersionsKey, settings.historyVersions, 0, Settings::kMostHistoryVersions);
  settings.deletedDays = ReadClamped(ini, kDeletedDaysKey, settings.deletedDays, 0, Settings::kLongestDeletedDays);
  return settings;
}

AutoFillMode SettingsFile::readAutoFillMode(AutoFillMode designChoice) const {
  const IniFile ini(path_);
  AutoFillMode mode = designChoice;
  if (ini.readBool(kSection, kPasteKey, true)) mode = AutoFillMode::Paste;
  if (ini.readBool(kSection, kKeystrokeKey, true)) mode = AutoFillMode::Keystrokes;
  return mode;
}

void SettingsFile::writeAutoFillMode(AutoFillMode mode) const {
  IniFile ini(path_);
  ini.writeString(kSection, kPasteKey, Flag(mode == AutoFillMode::Paste));
  ini.writeString(kSection, kKeystrokeKey, Flag(mode == AutoFillMode::Keystrokes));
}

void SettingsFile::writeLocking(const LockingSettings& locking) const {
  IniFile ini(path_);
  ini.writeString(kSection, kIdleMinutesKey, std::to_string(locking.idleMinutes));
  ini.writeString(kSection, kLockOnScreenLockKey, Flag(locking.lockOnScreenLock));
  ini.writeString(kSection, kClearOnLockKey, Flag(locking.clearOnLock));
}

void SettingsFile::writeClipboardSeconds(int seconds) const {
  IniFile(path_).writeString(kSection, kClipboardSecondsKey, std::to_string(seconds));
}

void SettingsFile::writeAccountHotKey(const QString& portableText) const {
  IniFile(path_).writeString(kSection, kAccountHotKeyKey, portableText.toStdString());
}

void SettingsFile::writePasswordHotKey(const QString& portableText) const {
  IniFile(path_).writeString(kSection, kPasswordHotKeyKey, portableText.toStdString());
}

void SettingsFile::writeHotKeyArmedMinutes(int minutes) const {
  IniFile(path_).writeString(kSection, kHotKeyArmedMinutesKey, std::to_string(minutes));
}

void SettingsFile::writeGenerator(const crypto::PasswordRules& rules) const {
  IniFile ini(path_);
  ini.writeString(kSection, kPasswordLengthKey, std::to_string(rules.length));
  ini.writeString(kSection, kUpperCaseKey, Flag(rules.upperCase));
  ini.writeString(kSection, kLowerCaseKey, Flag(rules.lowerCase));
  ini.writeString(kSection, kDigitsKey, Flag(rules.digits));
  ini.writeString(kSection, kSymbolsKey, Flag(rules.symbols));
  ini.writeString(kSection, kExcludeLookAlikesKey, Flag(rules.excludeLookAlikes));
}

}  // namespace settings
