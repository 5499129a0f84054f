#pragma once
// Settings files with the semantics of the Windows private-profile routines: section and key
// names compare without regard to letter case, values lose the blanks around them, a missing
// file, section or key gives the caller's default, and a write keeps every other line. The
// file is kept in code page 936 with CRLF line ends, so a file written on Windows reads the
// same; LF line ends are read too. Texts in and out are UTF-8.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace settings {

// What a failed write reports; what() is "Unable to write to " and the file's full path.
class IniWriteError : public std::runtime_error {
 public:
  explicit IniWriteError(const std::string& fullPath);
};

class IniFile {
 public:
  // Only the first MiB of a file is looked at; a larger file is not rewritten.
  static constexpr std::size_t kSizeLimit = 1 << 20;

  // A relative path is made absolute against the current folder now.
  explicit IniFile(std::string path);

  const std::string& path() const { return path_; }

  // The value, trimmed, with one pair of enclosing quotes removed; `def` when there is none.
  std::string readString(std::string_view section, std::string_view key, std::string_view def) const;

  // The value as a whole decimal integer, or "0x" and hexadecimal digits; `def` otherwise.
  int readInteger(std::string_view section, std::string_view key, int def) const;

  // readInteger with 1 or 0 as the default; any integer but 0 is true.
  bool readBool(std::string_view section, std::string_view key, bool def) const;

  // Sets the key, adding the section and key as needed; creates the file when missing.
  // The new file replaces the old one in one step, so a failure leaves the old one intact.
  // Throws IniWriteError when the file cannot be written, std::invalid_argument for a name
  // or value that cannot be stored on one line (line breaks, '=' in a key, ']' in a section).
  void writeString(std::string_view section, std::string_view key, std::string_view value);

 private:
  std::string path_;
};

}  // namespace settings
