#include "transfer/import_room.h"

#include <filesystem>
#include <system_error>

#include "transfer/transfer_error.h"

namespace transfer {

namespace {

constexpr std::uintmax_t kBytesPerRow = 32;                              // the row's own overhead
constexpr std::uintmax_t kJournalAndSlack = std::uintmax_t{256} * 1024;  // pages the journal keeps, half-filled pages

// The hexadecimal text of the cipher: two digits per byte, whole blocks of 8, at least one.
std::uintmax_t CipherBytes(std::string_view text) { return std::uintmax_t{16} * (text.size() / 8 + 1); }

}  // namespace

std::uintmax_t BytesToAdd(const PlannedRecords& records) {
  using enum PlannedRecords::Field;
  std::uintmax_t bytes = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    bytes += records.field(i, kCategory).size() + records.field(i, kTitle).size() + records.field(i, kAddress).size() +
             records.field(i, kAccount).size() + CipherBytes(records.field(i, kPassword)) +
             CipherBytes(records.field(i, kNote)) + kBytesPerRow;
  }
  return bytes + bytes / 4 + kJournalAndSlack;
}

void CheckRoomFor(const PlannedRecords& records, const std::string& folder) {
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
