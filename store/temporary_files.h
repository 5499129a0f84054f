#pragma once
// Temporary files that hold a copy of the user's secrets while they are written, and the sweep
// of those that a killed program left behind. Each is named a prefix and six letters or digits
// and is locked (flock) from its creation until it is renamed or removed, so a sweep takes only
// those whose writer is gone.
#include <array>
#include <span>
#include <string>
#include <string_view>

namespace store {

// Beside their targets: a file's copy (backups, a compaction's write-back), a protected file's
// rewritten copy, a new database and a CSV export.
inline constexpr std::string_view kCopyPrefix = ".~copy-";
inline constexpr std::string_view kRekeyPrefix = ".~rekey-";
inline constexpr std::string_view kNewDatabasePrefix = ".~newdb-";
inline constexpr std::string_view kExportPrefix = ".~export-";
inline constexpr std::array<std::string_view, 4> kBesideTargetPrefixes{kCopyPrefix, kRekeyPrefix, kNewDatabasePrefix,
                                                                       kExportPrefix};

// Takes the exclusive lock on the open file and checks that `path` still names it: a sweep may
// have taken the name before the lock.
bool LockWhileNamed(int fd, const std::string& path);

// A fresh file, readable by the user alone, locked from its creation. When this goes it is
// removed, with a database engine's journal of it, unless it was renamed; then it is unlocked.
class LockedTemporary {
 public:
  // `pathPrefix` + six letters or digits; see created().
  explicit LockedTemporary(const std::string& pathPrefix);
  ~LockedTemporary();
  LockedTemporary(const LockedTemporary&) = delete;
  LockedTemporary& operator=(const LockedTemporary&) = delete;

  // False when no file could be made; error() then tells why.
  bool created() const { return fd_ >= 0; }
  int error() const { return error_; }
  const std::string& path() const { return path_; }
  // A descriptor of its own to write with (-1 on failure): its close reports the write errors
  // while the lock stays.
  int openForWriting() const;
  // Flushes what anyone wrote to the file to disk.
  bool sync() const;
  // The file has its final name now: nothing is removed.
  void renamed() { renamed_ = true; }

 private:
  std::string path_;
  int fd_ = -1;
  int error_ = 0;
  bool renamed_ = false;
};

// Removes from `folder` the temporaries named by `prefixes` whose writer is gone, with their
// journals ("-journal" added): regular files of this user, not links, whose lock is free.
void RemoveLeftovers(const std::string& folder, std::span<const std::string_view> prefixes);

// The compaction's copies in the temporary folder.
void RemoveCompactionLeftovers();

}  // namespace store
