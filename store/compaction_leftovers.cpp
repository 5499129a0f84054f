#include "store/compaction_leftovers.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "store/compaction.h"

namespace store {

namespace {

constexpr std::string_view kJournalSuffix = "-journal";
constexpr std::size_t kUniquePartLength = 6;  // what mkstemp puts in place of "XXXXXX"

// Whether `name` is a compaction copy as CompactDatabaseFile names it.
bool IsCompactionCopyName(std::string_view name) {
  if (!name.starts_with(kCompactionTemporaryPrefix)) return false;
  const std::string_view unique = name.substr(kCompactionTemporaryPrefix.size());
  // ASCII only: a locale's isalnum would take more.
  const auto letterOrDigit = [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  };
  return unique.size() == kUniquePartLength && std::all_of(unique.begin(), unique.end(), letterOrDigit);
}

// A regular file of this user, not a link and not someone else's.
bool IsOwnFile(const struct stat& info) { return S_ISREG(info.st_mode) && info.st_uid == ::geteuid(); }

void RemoveOwnFile(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && IsOwnFile(info)) ::unlink(path.c_str());
}

// Removes a copy and its journal unless a running compaction holds the copy's lock.
void RemoveUnlessInUse(const std::string& copy) {
  const int fd = ::open(copy.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && IsOwnFile(info) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    ::unlink(copy.c_str());
    RemoveOwnFile(copy + std::string(kJournalSuffix));
  }
  ::close(fd);
}

struct CloseFolder {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

void RemoveCompactionLeftovers() {
  const std::string folder = GetTempDirectory();
  const std::unique_ptr<DIR, CloseFolder> dir(::opendir(folder.c_str()));
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (IsCompactionCopyName(name)) {
      RemoveUnlessInUse(folder + std::string(name));
    } else if (name.ends_with(kJournalSuffix) &&
               IsCompactionCopyName(name.substr(0, name.size() - kJournalSuffix.size()))) {
      // A journal whose copy is gone belongs to no running compaction: each one keeps its copy
      // until it has finished with the journal.
      const std::string copy = folder + std::string(name.substr(0, name.size() - kJournalSuffix.size()));
      struct stat info {};
      if (::lstat(copy.c_str(), &info) != 0) RemoveOwnFile(folder + std::string(name));
    }
  }
}

}  // namespace store
