#include "transfer/import_room.h"

#include <filesystem>
#include <system_error>

#include "transfer/transfer_error.h"

namespace transfer {

namespace {

constexpr std::uintmax_t kBytesPerRow = 32;                              // the row's own overhead
constexpr std::uintmax_t kJournalAndSlack = std::uintmax_t{256} * 1024;  // pages the journal keeps, half-filled pages

std::uintmax_t Utf8Bytes(const QString& text) { return static_cast<std::uintmax_t>(text.toUtf8().size()); }

// The hexadecimal text of the cipher: two digits per byte, whole blocks of 8, at least one.
std::uintmax_t CipherBytes(const QString& text) { return std::uintmax_t{16} * (Utf8Bytes(text) / 8 + 1); }

}  // namespace

std::uintmax_t BytesToAdd(const std::vector<vault::Record>& records) {
  std::uintmax_t bytes = 0;
  for (const vault::Record& r : records) {
    bytes += Utf8Bytes(r.category) + Utf8Bytes(r.title) + Utf8Bytes(r.address) + Utf8Bytes(r.account) +
             CipherBytes(r.password) + CipherBytes(r.note) + kBytesPerRow;
  }
  return bytes + bytes / 4 + kJournalAndSlack;
}

void CheckRoomFor(const std::vector<vault::Record>& records, const std::string& folder) {
  std::error_code error;
  const std::filesystem::space_info space = std::filesystem::space(folder, error);
  if (error) return;  // unknown room: the transaction still keeps the file whole
  const std::uintmax_t needed = BytesToAdd(records);
  if (space.available < needed) {
    const auto kib = [](std::uintmax_t bytes) { return QString::number(static_cast<qulonglong>(bytes / 1024)); };
    throw TransferError("磁盘空间不足, 没有导入任何记录.\n需要约 " + kib(needed) + " KB, 可用 " + kib(space.available) +
                        " KB.");
  }
}

}  // namespace transfer
