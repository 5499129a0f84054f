#include "store/file_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "store/file_descriptor.h"
#include "store/temporary_files.h"

namespace store {

namespace {

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
  std::array<char, std::size_t{64} * 1024> buffer{};
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

// Where a copy is written first: beside its target, under a name short enough to fit wherever
// the final one does.
std::string CopyPrefix(const std::string& folder) { return folder + "/" + std::string(kCopyPrefix); }

int LastError() { return errno != 0 ? errno : EIO; }

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

  // mkstemp makes the file readable by the user alone, and so it stays: no chmod, which FAT refuses.
  const std::string folder = FolderOf(to);
  LockedTemporary temporary(CopyPrefix(folder));
  if (!temporary.created()) return false;
  FileDescriptor target(temporary.openForWriting());
  if (target.get() < 0) return false;

  const bool written = CopyContent(source.get(), target.get()) && ::fsync(target.get()) == 0;
  if (!target.closeChecked() || !written || ::rename(temporary.path().c_str(), to.c_str()) != 0) return false;
  temporary.renamed();
  // The copy is in place; a failed folder sync only weakens durability across a power cut.
  SyncFolder(folder);
  return true;
}

int CopyFileWithoutReplacing(const std::string& from, const std::string& to) {
  FileDescriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (source.get() < 0) return errno;
  int failure = 0;
  {
    const LockedTemporary temporary(CopyPrefix(FolderOf(to)));
    if (!temporary.created()) return temporary.error();
    FileDescriptor target(temporary.openForWriting());
    if (target.get() < 0) return errno;
    if (!CopyContent(source.get(), target.get()) || ::fsync(target.get()) != 0) failure = LastError();
    if (!target.closeChecked() && failure == 0) failure = LastError();
    if (failure == 0) failure = PublishWithoutReplacing(temporary.path(), to);
  }  // the temporary name goes before the folder is synced
  if (failure == 0) SyncFolder(FolderOf(to));
  return failure;
}

int PublishWithoutReplacing(const std::string& finished, const std::string& to, HardLink link) {
  if (link(finished.c_str(), to.c_str()) == 0) return 0;
  const int refusal = errno;
  if (refusal != EPERM && refusal != ENOTSUP && refusal != EXDEV) return refusal;

  // No hard links here (FAT, exFAT): an exclusive create refuses an existing name just as well.
  FileDescriptor source(::open(finished.c_str(), O_RDONLY | O_CLOEXEC));
  if (source.get() < 0) return errno;
  FileDescriptor target(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (target.get() < 0) return errno;
  int failure = 0;
  if (!CopyContent(source.get(), target.get()) || ::fsync(target.get()) != 0) failure = LastError();
  if (!target.closeChecked() && failure == 0) failure = LastError();
  if (failure != 0) ::unlink(to.c_str());
  return failure;
}

}  // namespace store
