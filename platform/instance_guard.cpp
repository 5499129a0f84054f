#include "platform/instance_guard.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace platform {

std::string InstanceGuard::LockFolder() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) return runtime;
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/keyhaven-" + std::to_string(getuid());
  mkdir(folder.c_str(), 0700);
  return folder;
}

InstanceGuard::InstanceGuard(const std::string& name) {
  std::string path = LockFolder() + "/" + name;
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return;
  }
  fd_ = fd;
}

InstanceGuard::~InstanceGuard() {
  if (fd_ >= 0) close(fd_);
}

}  // namespace platform
