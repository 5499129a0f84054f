#pragma once
// Whole-file copies that never leave a half-written target behind.
#include <string>

namespace store {

// Copies `from` to `to` through a fresh file in the folder of `to`, which is synced and then
// renamed over `to`: afterwards `to` is either untouched or the complete copy. The copy keeps
// the permission bits of the file it replaces, or those of `from` when `to` is new.
// Returns false on any failure, leaving no temporary file behind.
bool CopyFileAtomically(const std::string& from, const std::string& to);

// Copies `from` to a new file `to`, readable by the user alone, written under a temporary name
// and then linked to its final name: an existing `to` (even one made meanwhile by another
// process) is never replaced, and a copy cut short never appears under `to`.
// Returns 0 or the errno of the failure; EEXIST when `to` was there already.
int CopyFileWithoutReplacing(const std::string& from, const std::string& to);

// Flushes a folder's entries (a rename in it) to disk.
bool SyncFolder(const std::string& folder);

// The folder part of a path, "." when it has none.
std::string FolderOf(const std::string& path);

}  // namespace store
