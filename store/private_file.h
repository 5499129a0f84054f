#pragma once
// Keeping the user's account data unreadable to other local users.
#include <string>

namespace store {

// Takes the group's and others' permissions off a file the user owns. A file of another user,
// or one whose file system refuses the change (FAT), stays as it is, silently.
void KeepToOwner(const std::string& path);

}  // namespace store
