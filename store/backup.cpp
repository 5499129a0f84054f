#include "store/backup.h"

#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "store/connection.h"
#include "store/file_copy.h"

namespace store {

namespace {

// Longest file name (one path component) that common file systems take, in bytes.
constexpr std::size_t kMaxFileNameBytes = 255;
constexpr std::string_view kBackupSuffix = "_.udb";

void RemoveAll(std::string& text, char c) { std::erase(text, c); }

// Characters that no file name may hold on Linux or Windows, so a backup made here can be
// copied anywhere: '/', NUL, the Windows set and the control characters.
bool UnfitForFileName(char c) {
  const auto b = static_cast<unsigned char>(c);
  if (b < 0x20) return true;
  switch (c) {
    case '/':
    case '\\':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
      return true;
    default:
      return false;
  }
}

std::string FitForFileName(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (UnfitForFileName(c)) c = '_';
  }
  return out;
}

// Cuts text to at most `bytes` bytes without splitting a UTF-8 character.
std::string_view CutAtCharacter(std::string_view text, std::size_t bytes) {
  if (text.size() <= bytes) return text;
  std::size_t end = bytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

// Shortens a prefix to `bytes` bytes. A category prefix keeps its fixed ends, so the name
// still says what the backup is; the category name inside gives way.
std::string ShortenPrefix(std::string_view prefix, std::size_t bytes) {
  if (prefix.size() <= bytes) return std::string(prefix);
  const std::size_t ends = kCategoryBackupPrefixStart.size() + kCategoryBackupPrefixEnd.size();
  if (prefix.starts_with(kCategoryBackupPrefixStart) && prefix.ends_with(kCategoryBackupPrefixEnd) &&
      prefix.size() >= ends && bytes >= ends) {
    const std::string_view category = prefix.substr(kCategoryBackupPrefixStart.size(), prefix.size() - ends);
    return std::string(kCategoryBackupPrefixStart) + std::string(CutAtCharacter(category, bytes - ends)) +
           std::string(kCategoryBackupPrefixEnd);
  }
  return std::string(CutAtCharacter(prefix, bytes));
}

}  // namespace

std::string BackupStamp(std::string_view clockText) {
  std::string stamp(clockText);
  for (char c : {':', ' ', '-', '/'}) RemoveAll(stamp, c);
  return stamp;
}

std::string CategoryBackupPrefix(std::string_view category) {
  return std::string(kCategoryBackupPrefixStart) + std::string(category) + std::string(kCategoryBackupPrefixEnd);
}

std::string BackupFileName(std::string_view programFolder, std::string_view prefix, std::string_view clockText,
                           int copy, std::string_view databaseName) {
  std::string stamp = FitForFileName(BackupStamp(clockText));
  if (copy > 1) stamp += "_" + std::to_string(copy);
  const std::string suffix =
      databaseName == kDatabaseFileName ? std::string(kBackupSuffix) : "_" + std::string(databaseName);
  const std::size_t fixed = stamp.size() + suffix.size();
  const std::size_t room = fixed < kMaxFileNameBytes ? kMaxFileNameBytes - fixed : 0;
  return std::string(programFolder) + ShortenPrefix(FitForFileName(prefix), room) + stamp + suffix;
}

bool TakeBackup(std::string_view programFolder, std::string_view prefix, std::string_view clockText,
                std::string_view databaseName) {
  const std::string database = std::string(programFolder) + std::string(databaseName);
  // An earlier backup of the same name stays; this one takes the next free number.
  for (int copy = 1;; ++copy) {
    const std::string name = BackupFileName(programFolder, prefix, clockText, copy, databaseName);
    const int failure = CopyFileWithoutReplacing(database, name);
    if (failure != EEXIST) return failure == 0;
    struct stat taken {};
    if (::lstat(name.c_str(), &taken) != 0) return false;  // no free temporary name, not a taken one
  }
}

}  // namespace store
