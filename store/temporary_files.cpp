#include "store/temporary_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

#include "store/compaction.h"

namespace store {

namespace {

constexpr std::string_view kJournalSuffix = "-journal";
constexpr std::size_t kUniquePartLength = 6;  // what mkstemp puts in place of "XXXXXX"

// Whether `name` is one of the prefixes and six letters or digits, as mkstemp makes it.
bool IsTemporaryName(std::string_view name, std::span<const std::string_view> prefixes) {
  // ASCII only: a locale's isalnum would take more.
  const auto letterOrDigit = [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  };
  return std::any_of(prefixes.begin(), prefixes.end(), [&](std::string_view prefix) {
    if (!name.starts_with(prefix)) return false;
    const std::string_view unique = name.substr(prefix.size());
    return unique.size() == kUniquePartLength && std::all_of(unique.begin(), unique.end(), letterOrDigit);
  });
}

// A regular file of this user, not a link and not someone else's.
bool IsOwnFile(const struct stat& info) { return S_ISREG(info.st_mode) && info.st_uid == ::geteuid(); }

void RemoveOwnFile(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && IsOwnFile(info)) ::unlink(path.c_str());
}

// Removes a temporary and its journal unless its writer still holds its lock.
void RemoveUnlessInUse(const std::string& temporary) {
  const int fd = ::open(temporary.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && IsOwnFile(info) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    ::unlink(temporary.c_str());
    RemoveOwnFile(temporary + std::string(kJournalSuffix));
  }
  ::close(fd);
}

// Whether `path` still names the file open as `fd`.
bool StillNamed(int fd, const std::string& path) {
  struct stat opened {};
  struct stat named {};
  return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

struct CloseFolder {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

bool LockWhileNamed(int fd, const std::string& path) { return ::flock(fd, LOCK_EX) == 0 && StillNamed(fd, path); }

LockedTemporary::LockedTemporary(const std::string& pathPrefix) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::string name = pathPrefix + "XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);  // made readable by the user alone
    if (fd < 0 || ::flock(fd, LOCK_EX) != 0) {
      error_ = errno;
      if (fd >= 0) {
        ::unlink(name.c_str());
        ::close(fd);
      }
      return;
    }
    if (StillNamed(fd, name)) {
      fd_ = fd;
      path_ = std::move(name);
      return;
    }
    ::close(fd);  // a sweep took it before it was locked: another name
  }
  error_ = EAGAIN;
}

LockedTemporary::~LockedTemporary() {
  if (fd_ < 0) return;
  if (!renamed_) {
    ::unlink(path_.c_str());
    ::unlink((path_ + std::string(kJournalSuffix)).c_str());
  }
  ::close(fd_);  // the lock goes only now, with the name
}

int LockedTemporary::openForWriting() const { return ::fcntl(fd_, F_DUPFD_CLOEXEC, 0); }

bool LockedTemporary::sync() const { return ::fsync(fd_) == 0; }

void RemoveLeftovers(const std::string& folder, std::span<const std::string_view> prefixes) {
  const std::string base = folder.ends_with('/') ? folder : folder + '/';
  const std::unique_ptr<DIR, CloseFolder> dir(::opendir(base.c_str()));
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (IsTemporaryName(name, prefixes)) {
      RemoveUnlessInUse(base + std::string(name));
    } else if (name.ends_with(kJournalSuffix) &&
               IsTemporaryName(name.substr(0, name.size() - kJournalSuffix.size()), prefixes)) {
      // A journal whose temporary is gone belongs to no running writer: each one keeps its
      // temporary until it has finished with the journal.
      const std::string temporary = base + std::string(name.substr(0, name.size() - kJournalSuffix.size()));
      struct stat info {};
      if (::lstat(temporary.c_str(), &info) != 0) RemoveOwnFile(base + std::string(name));
    }
  }
}

void RemoveCompactionLeftovers() {
  const std::array<std::string_view, 1> prefixes{kCompactionTemporaryPrefix};
  RemoveLeftovers(GetTempDirectory(), prefixes);
}

}  // namespace store
