#pragma once
// Temporary folders and database files for the store tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/connection.h"
#include "store/database_file.h"
#include "tests/support/file_bytes.h"

namespace store::testing {

// Stands in for the enciphered master password; the store never looks inside it.
inline constexpr std::string_view kSomeMasterCipher = "0123456789ABCDEF";

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "keyhaven-store-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const char* made = ::mkdtemp(buffer.data());
    if (made == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = made;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder as the program names it: with a trailing separator.
  std::string programFolder() const { return path_.string() + "/"; }
  std::string file(std::string_view name) const { return (path_ / std::string(name)).string(); }

  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path path_;
};

using file_bytes::ReadBytes;
using file_bytes::WriteBytes;

// Makes the program's database in `folder` and returns its connection string.
inline std::string MakeProgramDatabase(const TempFolder& folder) {
  CreateDatabaseFile(folder.file(kDatabaseFileName), kSomeMasterCipher, false);
  return BuildConnectionString(folder.programFolder());
}

}  // namespace store::testing
