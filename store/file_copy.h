#pragma once
// Whole-file copies that never leave a half-written target behind.
#include <unistd.h>

#include <string>

namespace store {

// Copies `from` to `to` through a fresh file in the folder of `to`, which is synced and then
// renamed over `to`: afterwards `to` is either untouched or the complete copy. The copy holds
// account data, so it is readable by the user alone, whatever the modes of `from` and `to`.
// Returns false on any failure, leaving no temporary file behind.
bool CopyFileAtomically(const std::string& from, const std::string& to);

// Copies `from` to a new file `to`, readable by the user alone, written under a temporary name
// and then linked to its final name: an existing `to` (even one made meanwhile by another
// process) is never replaced, and a copy cut short never appears under `to`.
// Returns 0 or the errno of the failure; EEXIST when `to` was there already.
int CopyFileWithoutReplacing(const std::string& from, const std::string& to);

// How a finished file gets a second name: link(2), or a stand-in in tests.
using HardLink = int (*)(const char* existing, const char* newName);

// Gives the complete, synced file `finished` the name `to` without ever replacing a file there.
// Where the file system has no hard links (FAT, exFAT), `to` is created exclusively and
// written from `finished`, and removed again when that write fails. `finished` stays; the
// caller removes it. Returns 0 or the errno of the failure; EEXIST when `to` was there already.
int PublishWithoutReplacing(const std::string& finished, const std::string& to, HardLink link = &::link);

// Flushes a folder's entries (a rename in it) to disk.
bool SyncFolder(const std::string& folder);

// The folder part of a path, "." when it has none.
std::string FolderOf(const std::string& path);

}  // namespace store
