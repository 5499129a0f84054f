#include "store/private_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store {

void KeepToOwner(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat info {};
  // Through the open file, so the file checked is the file changed.
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
      (info.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
    ::fchmod(fd, info.st_mode & S_IRWXU);  // refused on FAT: nothing to do then
  }
  ::close(fd);
}

}  // namespace store
