#pragma once
// The protected database file: the same tables under a key derived from the master password,
// whose salt is the file's own first 16 bytes. Turning protection on and off, changing its
// key, and telling a protected file from a damaged one.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "store/file_key.h"

namespace store {

enum class DatabaseFileKind {
  kFixedKey,   // opens with the database password
  kProtected,  // taken for protected: no other key opens it, and no plain database either
  kDamaged,    // too short, a plain database, or a fixed-key file without tables
};

// Throws StoreError when the file cannot be read at all (missing, locked, unreadable).
DatabaseFileKind ClassifyDatabaseFile(const std::string& path);

// The salt of a protected file; nullopt when the file is shorter or cannot be read.
std::optional<std::array<unsigned char, kFileSaltBytes>> ReadFileSalt(const std::string& path);

// Whether the key opens the file as an account database (what a login checks). Throws StoreError
// when the file is damaged rather than keyed otherwise.
bool OpensWithKey(const std::string& path, const FileKey& key);

// Turns a fixed-key file (the main file or a backup) into a protected one with `key`: a complete
// copy in a new file of the same folder, readable by the user alone, checked to open from the
// key and to hold the same records and database key, then renamed over `path`. Pass holds
// kProtectedPassMarker. On any failure `path` stays as it was; throws StoreError.
void ProtectDatabaseFile(const std::string& path, const FileKey& key);

// The way back: the fixed-key copy's Pass holds `masterPasswordCipher`, the master password's
// cipher text. Throws StoreError, `path` then as it was.
void UnprotectDatabaseFile(const std::string& path, const FileKey& key, std::string_view masterPasswordCipher);

// Re-keys a protected file from `current` to `next` (a new password or new costs) the same way.
// Throws StoreError, `path` then as it was.
void RekeyDatabaseFile(const std::string& path, const FileKey& current, const FileKey& next);

}  // namespace store
