#pragma once
// A whole file as bytes, for tests that check what a file holds.
#include <fstream>
#include <iterator>
#include <string>

namespace file_bytes {

// Empty when the file cannot be read.
inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Replaces the file's content.
inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

}  // namespace file_bytes
