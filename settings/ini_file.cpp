#include "settings/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "encoding/codepage.h"

namespace settings {
namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view Trim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  // UTF-8 bytes of non-ASCII characters are never ASCII letters, so folding ASCII suffices.
  auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return fold(x) == fold(y); });
}

// One line of the file: its bytes as found (without the line end) and what it means.
struct Line {
  enum class Kind { kSection, kKey, kOther };
  explicit Line(std::string bytes) : raw(std::move(bytes)) {}
  std::string raw;
  Kind kind = Kind::kOther;
  std::string name;   // section or key name, UTF-8, trimmed
  std::string value;  // key value, UTF-8, trimmed
};

// Names are parsed from the UTF-8 form: in code page 936 the second byte of a character
// can look like '[', ']' or a letter.
Line ParseLine(std::string raw) {
  Line line(std::move(raw));
  const std::string text = encoding::Cp936ToUtf8(line.raw);
  const std::string_view trimmed = Trim(text);
  if (trimmed.starts_with('[')) {
    const std::size_t close = trimmed.find(']');
    if (close != std::string_view::npos) {
      line.kind = Line::Kind::kSection;
      line.name = Trim(trimmed.substr(1, close - 1));
    }
    return line;
  }
  const std::size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return line;
  const std::string_view name = Trim(trimmed.substr(0, equals));
  if (name.empty()) return line;
  line.kind = Line::Kind::kKey;
  line.name = name;
  line.value = Trim(trimmed.substr(equals + 1));
  return line;
}

std::vector<Line> ParseLines(std::string_view bytes) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view raw = bytes.substr(start, end - start);
    if (raw.ends_with('\r')) raw.remove_suffix(1);
    lines.push_back(ParseLine(std::string(raw)));
    start = end + 1;
  }
  return lines;
}

struct FileContents {
  std::string bytes;
  bool oversized = false;
};

// Reads at most kSizeLimit bytes. nullopt with errno set when the file cannot be read.
std::optional<FileContents> ReadFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  FileContents contents;
  contents.bytes.resize(IniFile::kSizeLimit + 1);
  std::size_t used = 0;
  while (used < contents.bytes.size()) {
    const ssize_t got = ::read(fd, contents.bytes.data() + used, contents.bytes.size() - used);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int error = errno;
      ::close(fd);
      errno = error;
      return std::nullopt;
    }
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  ::close(fd);
  contents.oversized = used > IniFile::kSizeLimit;
  contents.bytes.resize(std::min(used, IniFile::kSizeLimit));
  return contents;
}

// Index of the first section of that name, or lines.size().
std::size_t FindSection(const std::vector<Line>& lines, std::string_view section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == Line::Kind::kSection && EqualsIgnoringCase(lines[i].name, section)) return i;
  }
  return lines.size();
}

std::size_t SectionEnd(const std::vector<Line>& lines, std::size_t sectionIndex) {
  std::size_t i = sectionIndex + 1;
  while (i < lines.size() && lines[i].kind != Line::Kind::kSection) ++i;
  return i;
}

// Index of the key's line within the section, or nullopt.
std::optional<std::size_t> FindKey(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  const std::size_t s = FindSection(lines, section);
  if (s == lines.size()) return std::nullopt;
  const std::size_t end = SectionEnd(lines, s);
  for (std::size_t i = s + 1; i < end; ++i) {
    if (lines[i].kind == Line::Kind::kKey && EqualsIgnoringCase(lines[i].name, key)) return i;
  }
  return std::nullopt;
}

std::string_view WithoutEnclosingQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::optional<int> ParseInteger(std::string_view text) {
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(first + 2, last, value, 16);
    if (error != std::errc() || end != last) return std::nullopt;
    return static_cast<int>(value);  // 0x80000000 and above are the negative numbers
  }
  if (text.size() > 1 && text[0] == '+' && text[1] != '-') ++first;
  int value = 0;
  const auto [end, error] = std::from_chars(first, last, value, 10);
  if (error != std::errc() || end != last) return std::nullopt;
  return value;
}

void CheckStorable(std::string_view section, std::string_view key, std::string_view value) {
  constexpr std::string_view kLineBreaks = "\r\n";
  if (section.find_first_of(kLineBreaks) != std::string_view::npos || section.find(']') != std::string_view::npos ||
      key.empty() || key.find_first_of(kLineBreaks) != std::string_view::npos ||
      key.find('=') != std::string_view::npos || value.find_first_of(kLineBreaks) != std::string_view::npos) {
    throw std::invalid_argument("a settings name or value that does not fit on one line");
  }
}

// Closes and removes the temporary file unless it has been renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string pathTemplate)
      : path_(std::move(pathTemplate)), fd_(::mkstemp(path_.data())), created_(fd_ >= 0) {}
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (created_ && !renamed_) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool opened() const { return fd_ >= 0; }

  bool write(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t done = ::write(fd_, bytes.data(), bytes.size());
      if (done < 0 && errno == EINTR) continue;
      if (done <= 0) return false;
      bytes.remove_prefix(static_cast<std::size_t>(done));
    }
    return true;
  }

  bool commit(mode_t mode, const std::string& target) {
    if (::fchmod(fd_, mode) != 0 || ::fsync(fd_) != 0) return false;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return false;
    if (::rename(path_.c_str(), target.c_str()) != 0) return false;
    renamed_ = true;
    return true;
  }

 private:
  std::string path_;
  int fd_;
  bool created_;
  bool renamed_ = false;
};

// Makes the rename itself durable; a failure here no longer risks the old contents.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

void ReplaceFile(const std::string& path, std::string_view bytes) {
  const std::filesystem::path target(path);
  const std::string folder = target.parent_path().string();
  mode_t mode = 0644;
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) mode = existing.st_mode & 07777;

  TemporaryFile temporary(folder + "/." + target.filename().string() + ".XXXXXX");
  if (!temporary.opened() || !temporary.write(bytes) || !temporary.commit(mode, path)) {
    throw IniWriteError(path);
  }
  SyncFolder(folder);
}

}  // namespace

IniWriteError::IniWriteError(const std::string& fullPath) : std::runtime_error("Unable to write to " + fullPath) {}

IniFile::IniFile(std::string path) : path_(std::move(path)) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path_, error);
  if (!error) path_ = absolute.string();
}

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view def) const {
  const auto contents = ReadFile(path_);
  if (!contents) return std::string(def);
  const std::vector<Line> lines = ParseLines(contents->bytes);
  const auto index = FindKey(lines, section, key);
  if (!index) return std::string(def);
  return std::string(WithoutEnclosingQuotes(lines[*index].value));
}

int IniFile::readInteger(std::string_view section, std::string_view key, int def) const {
  return ParseInteger(readString(section, key, "")).value_or(def);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool def) const {
  return readInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  CheckStorable(section, key, value);
  std::vector<Line> lines;
  if (const auto contents = ReadFile(path_)) {
    // Rewriting from a part of the file would lose the rest.
    if (contents->oversized) throw IniWriteError(path_);
    lines = ParseLines(contents->bytes);
  } else if (errno != ENOENT) {
    throw IniWriteError(path_);
  }

  if (const auto index = FindKey(lines, section, key)) {
    Line& line = lines[*index];
    line.raw = encoding::Utf8ToCp936(line.name) + "=" + encoding::Utf8ToCp936(value);
  } else {
    const std::string keyLine = encoding::Utf8ToCp936(key) + "=" + encoding::Utf8ToCp936(value);
    const std::size_t s = FindSection(lines, section);
    if (s == lines.size()) {
      lines.emplace_back("[" + encoding::Utf8ToCp936(section) + "]");
      lines.emplace_back(keyLine);
    } else {
      // After the section's last non-blank line, so blank lines before the next section stay there.
      std::size_t at = SectionEnd(lines, s);
      while (at > s + 1 && Trim(lines[at - 1].raw).empty()) --at;
      lines.emplace(lines.begin() + static_cast<std::ptrdiff_t>(at), keyLine);
    }
  }

  std::string bytes;
  for (const Line& line : lines) {
    bytes += line.raw;
    bytes += "\r\n";
  }
  ReplaceFile(path_, bytes);
}

}  // namespace settings
