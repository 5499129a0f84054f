#pragma once
// Keeps a second copy of the program from running: an exclusive lock on a file of the given
// name in the user's runtime folder, released by the kernel when the process ends.
#include <string>

namespace platform {

class InstanceGuard {
 public:
  explicit InstanceGuard(const std::string& name);
  ~InstanceGuard();
  InstanceGuard(const InstanceGuard&) = delete;
  InstanceGuard& operator=(const InstanceGuard&) = delete;

  // False when another process holds the lock, or no lock could be made at all.
  bool acquired() const { return fd_ >= 0; }

  // $XDG_RUNTIME_DIR, else a per-user folder in the temporary folder.
  static std::string LockFolder();

 private:
  int fd_ = -1;
};

}  // namespace platform
