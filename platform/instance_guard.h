#pragma once
// Keeps a second copy of the program from running: an exclusive lock on a file of the given
// name in a folder of the user's own, released by the kernel when the process ends.
#include <string>
#include <vector>

namespace platform {

class InstanceGuard {
 public:
  enum class State { kAcquired, kHeldElsewhere, kNoUsableFolder };

  explicit InstanceGuard(const std::string& name);
  ~InstanceGuard();
  InstanceGuard(const InstanceGuard&) = delete;
  InstanceGuard& operator=(const InstanceGuard&) = delete;

  State state() const { return state_; }
  bool acquired() const { return state_ == State::kAcquired; }
  // Only another process holding the lock means that the program runs already.
  bool heldElsewhere() const { return state_ == State::kHeldElsewhere; }
  // The folders tried in order; the last one holds the lock when it was taken.
  const std::vector<std::string>& foldersTried() const { return foldersTried_; }

  // $XDG_RUNTIME_DIR, else a per-user folder in the temporary folder; then ~/.cache/keyhaven
  // (made 0700 when missing).
  static std::vector<std::string> LockFolders();
  // Says which folders could not take the lock, for the message before the program ends.
  static std::string NoUsableFolderMessage(const std::vector<std::string>& folders);

 private:
  State tryFolder(const std::string& folder, const std::string& name);

  State state_ = State::kNoUsableFolder;
  std::vector<std::string> foldersTried_;
  int fd_ = -1;
};

}  // namespace platform
