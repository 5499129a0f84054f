#pragma once
// Config.ini beside the program: how the hot keys enter values.
#include <QString>

#include "settings/settings_file.h"

enum class AutoFillMode { Paste, Keystrokes };

class ConfigFile {
 public:
  static constexpr const char* kFileName = settings::SettingsFile::kFileName;
  static constexpr const char* kSection = settings::SettingsFile::kSection;
  static constexpr const char* kPasteKey = "粘贴式";
  static constexpr const char* kKeystrokeKey = "非粘贴式";

  explicit ConfigFile(const QString& programFolder);

  // Each key reads true when missing or not a number; a true keystroke key wins over the paste key,
  // and with both false the window's own choice stays.
  AutoFillMode readMode(AutoFillMode designChoice) const;
  // Throws the write error of the settings file ("Unable to write to <path>").
  void writeMode(AutoFillMode mode) const;

 private:
  std::string path_;
};
