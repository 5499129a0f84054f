#include "store/file_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <vector>

namespace store {

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closing reports the last write errors of some file systems, so its result counts.
  bool closeChecked() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

bool CopyContent(int from, int to) {
  std::array<char, 64 * 1024> buffer{};
  for (;;) {
    const ssize_t got = ::read(from, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    if (!WriteAll(to, buffer.data(), static_cast<std::size_t>(got))) return false;
  }
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool SyncFolder(const std::string& folder) {
  FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return fd.get() >= 0 && ::fsync(fd.get()) == 0;
}

bool CopyFileAtomically(const std::string& from, const std::string& to) {
  FileDescriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat sourceInfo {};
  if (source.get() < 0 || ::fstat(source.get(), &sourceInfo) != 0 || !S_ISREG(sourceInfo.st_mode)) return false;

  struct stat targetInfo {};
  const mode_t mode = (::stat(to.c_str(), &targetInfo) == 0 ? targetInfo.st_mode : sourceInfo.st_mode) & 07777;

  const std::string folder = FolderOf(to);
  std::string pattern = folder + "/.~copy-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  FileDescriptor target(::mkstemp(name.data()));
  if (target.get() < 0) return false;
  const std::string temporary(name.data());

  const bool written =
      CopyContent(source.get(), target.get()) && ::fchmod(target.get(), mode) == 0 && ::fsync(target.get()) == 0;
  if (!target.closeChecked() || !written || ::rename(temporary.c_str(), to.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  // The copy is in place; a failed folder sync only weakens durability across a power cut.
  SyncFolder(folder);
  return true;
}

int CopyFileWithoutReplacing(const std::string& from, const std::string& to) {
  FileDescriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (source.get() < 0) return errno;
  std::string temporary = to + ".new-XXXXXX";
  FileDescriptor target(::mkostemp(temporary.data(), O_CLOEXEC));
  if (target.get() < 0) return errno;
  int failure = 0;
  if (!CopyContent(source.get(), target.get()) || ::fsync(target.get()) != 0) failure = errno ? errno : EIO;
  if (!target.closeChecked() && failure == 0) failure = errno;
  if (failure == 0 && ::link(temporary.c_str(), to.c_str()) != 0) failure = errno;
  ::unlink(temporary.c_str());
  if (failure == 0) SyncFolder(FolderOf(to));
  return failure;
}

}  // namespace store
