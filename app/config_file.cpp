#include "app/config_file.h"

#include "settings/ini_file.h"

ConfigFile::ConfigFile(const QString& programFolder) : path_((programFolder + kFileName).toStdString()) {}

AutoFillMode ConfigFile::readMode(AutoFillMode designChoice) const {
  settings::IniFile ini(path_);
  AutoFillMode mode = designChoice;
  if (ini.readBool(kSection, kPasteKey, true)) mode = AutoFillMode::Paste;
  if (ini.readBool(kSection, kKeystrokeKey, true)) mode = AutoFillMode::Keystrokes;
  return mode;
}

void ConfigFile::writeMode(AutoFillMode mode) const {
  settings::IniFile ini(path_);
  ini.writeString(kSection, kPasteKey, mode == AutoFillMode::Paste ? "1" : "0");
  ini.writeString(kSection, kKeystrokeKey, mode == AutoFillMode::Keystrokes ? "1" : "0");
}
