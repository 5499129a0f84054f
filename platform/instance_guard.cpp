#include "platform/instance_guard.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platform {

namespace {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  const passwd* entry = ::getpwuid(::getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

// The folder itself, not what a link there points to, owned by this user and writable by no
// one else: otherwise another user could hold or replace the lock file.
int OpenPrivateFolder(const std::string& folder) {
  struct stat status {};
  if (::lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return -1;
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return -1;
  const bool private_ = ::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == ::geteuid() &&
                        (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
  if (!private_) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

// Folders of the program's own are made here when missing; an existing one is checked, never changed.
std::vector<std::string> InstanceGuard::LockFolders() {
  std::vector<std::string> folders;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
    folders.emplace_back(runtime);
  } else {
    const char* tmp = std::getenv("TMPDIR");
    folders.push_back(std::string(tmp && *tmp ? tmp : "/tmp") + "/keyhaven-" + std::to_string(::getuid()));
    ::mkdir(folders.back().c_str(), 0700);
  }
  if (const std::string home = HomeFolder(); !home.empty()) {
    ::mkdir((home + "/.cache").c_str(), 0700);
    folders.push_back(home + "/.cache/keyhaven");
    ::mkdir(folders.back().c_str(), 0700);
  }
  return folders;
}

std::string InstanceGuard::NoUsableFolderMessage(const std::vector<std::string>& folders) {
  std::string text = "无法建立程序的运行锁, 程序将退出.";
  for (const std::string& folder : folders) text += "\n文件夹\"" + folder + "\"不可用";
  text += "\n(锁文件夹须属于当前用户, 且其他用户不可写入.)";
  return text;
}

InstanceGuard::InstanceGuard(const std::string& name) {
  for (const std::string& folder : LockFolders()) {
    foldersTried_.push_back(folder);
    state_ = tryFolder(folder, name);
    if (state_ != State::kNoUsableFolder) return;
  }
}

InstanceGuard::State InstanceGuard::tryFolder(const std::string& folder, const std::string& name) {
  const int folderFd = OpenPrivateFolder(folder);
  if (folderFd < 0) return State::kNoUsableFolder;
  const int fd = ::openat(folderFd, name.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  ::close(folderFd);
  if (fd < 0) return State::kNoUsableFolder;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return held ? State::kHeldElsewhere : State::kNoUsableFolder;
  }
  fd_ = fd;
  return State::kAcquired;
}

InstanceGuard::~InstanceGuard() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace platform
