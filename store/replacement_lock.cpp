#include "store/replacement_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace store {

namespace {

constexpr std::chrono::milliseconds kRetryPause{50};

std::string LockFilePath(std::string_view folder) {
  std::string path(folder);
  if (!path.empty() && path.back() != '/') path += '/';
  return path + std::string(kReplacementLockFileName);
}

int OpenLockFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd >= 0 || (errno != EACCES && errno != EROFS && errno != EPERM)) return fd;
  // Someone else's lock file in a shared folder still locks for reading.
  return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
}

}  // namespace

ReplacementLock::ReplacementLock(std::string_view folder, Mode mode, std::chrono::milliseconds wait) {
  const std::string path = LockFilePath(folder);
  fd_ = OpenLockFile(path);
  if (fd_ < 0) return;
  const int operation = (mode == Mode::kExclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (::flock(fd_, operation) != 0) {
    const bool held = errno == EWOULDBLOCK || errno == EINTR;
    if (!held || std::chrono::steady_clock::now() >= deadline) {
      ::close(fd_);
      fd_ = -1;
      // A file system without locks (some network shares) is used unlocked, as before.
      if (!held) return;
      throw FileBusyError("数据库文件正被另一个钥匣个人版程序(例如 keyhaven-cli)使用, 请稍后再试.");
    }
    std::this_thread::sleep_for(kRetryPause);
  }
}

ReplacementLock::~ReplacementLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace store
