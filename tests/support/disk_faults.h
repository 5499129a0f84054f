#pragma once
// Faults of files and disks for tests: a file nobody may write, a disk that is full, and a
// temporary folder elsewhere.
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace disk_faults {

inline bool RunShell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// Makes a file unwritable in a way that also holds for root: the immutable attribute where
// the file system has it, else (for other users) the permission bits.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(std::string path) : path_(std::move(path)) {
    immutable_ = ::geteuid() == 0 && RunShell("chattr +i '" + path_ + "'");
    if (!immutable_) std::filesystem::permissions(path_, std::filesystem::perms::owner_read);
  }
  ~ReadOnlyFile() {
    if (immutable_) RunShell("chattr -i '" + path_ + "'");
    std::filesystem::permissions(path_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  }
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  // Root ignores permission bits, so without the attribute the fault cannot be made.
  bool holds() const { return immutable_ || ::geteuid() != 0; }

 private:
  std::string path_;
  bool immutable_ = false;
};

// A folder on a small file system of its own (root, in a mount namespace of this process, so
// nothing stays mounted if the test dies), or else a file size limit for this process that
// makes every write past 4 KiB fail as a full disk does.
class SmallDisk {
 public:
  SmallDisk(const std::string& folder, std::size_t bytes) : folder_(folder) {
    if (::geteuid() == 0 && PrivateMounts()) {
      const std::string options = "size=" + std::to_string(bytes);
      mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    if (limited_) {
      ::setrlimit(RLIMIT_FSIZE, &oldLimit_);
      ::signal(SIGXFSZ, oldHandler_);
    }
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  // Call once the files that should fit are in place: fills the rest of the disk.
  void fill() {
    if (mounted_) {
      std::FILE* filler = std::fopen((folder_ + "/filler").c_str(), "wb");
      const std::string block(64 * 1024, 'x');
      while (filler && std::fwrite(block.data(), 1, block.size(), filler) == block.size()) {
      }
      if (filler) std::fclose(filler);  // cut short where the disk ends
      return;
    }
    ::getrlimit(RLIMIT_FSIZE, &oldLimit_);
    oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = oldLimit_;
    limit.rlim_cur = 4096;
    limited_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }

 private:
  static bool PrivateMounts() {
    static const bool done =
        ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return done;
  }

  std::string folder_;
  bool mounted_ = false;
  bool limited_ = false;
  rlimit oldLimit_{};
  sighandler_t oldHandler_ = SIG_DFL;
};

// TMPDIR set to another folder while it lives.
class ScopedTmpDir {
 public:
  explicit ScopedTmpDir(const std::string& value) {
    if (const char* old = std::getenv("TMPDIR")) old_ = old;
    ::setenv("TMPDIR", value.c_str(), 1);
  }
  ~ScopedTmpDir() {
    if (old_) {
      ::setenv("TMPDIR", old_->c_str(), 1);
    } else {
      ::unsetenv("TMPDIR");
    }
  }
  ScopedTmpDir(const ScopedTmpDir&) = delete;
  ScopedTmpDir& operator=(const ScopedTmpDir&) = delete;

 private:
  std::optional<std::string> old_;
};

}  // namespace disk_faults
