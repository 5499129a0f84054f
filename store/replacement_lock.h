#pragma once
// The lock that keeps a data folder's _.udb from being replaced under a program that uses it:
// whoever replaces the file by rename holds it exclusively, a program that only reads and writes
// the file holds it shared. It is an flock on <folder>/.keyhaven.lock, released by the kernel
// when its holder dies.
#include <chrono>
#include <string>
#include <string_view>

#include "store/store_error.h"

namespace store {

inline constexpr std::string_view kReplacementLockFileName = ".keyhaven.lock";
inline constexpr std::chrono::milliseconds kReplacementLockWait{5000};

// The lock stayed with another program for the whole wait.
class FileBusyError : public StoreError {
 public:
  using StoreError::StoreError;
};

class ReplacementLock {
 public:
  enum class Mode { kShared, kExclusive };

  // Takes the lock of `folder` (ending in '/' or not), waiting up to `wait`; throws FileBusyError
  // when it is not free by then. A folder that cannot be written is not locked: no one can
  // replace a file in it.
  ReplacementLock(std::string_view folder, Mode mode, std::chrono::milliseconds wait = kReplacementLockWait);
  ~ReplacementLock();
  ReplacementLock(const ReplacementLock&) = delete;
  ReplacementLock& operator=(const ReplacementLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace store
