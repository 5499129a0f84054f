#pragma once
// Whether the disk has room for an import. A full disk in the middle of the commit would leave
// the file rewritten by the journal's playback: whole, but no longer the same bytes.
#include <cstdint>
#include <string>

#include "transfer/planned_records.h"

namespace transfer {

// A generous estimate of what adding the records takes on disk, the journal included.
std::uintmax_t BytesToAdd(const PlannedRecords& records);

// Throws TransferError when the disk of `folder` has less room than the records need.
void CheckRoomFor(const PlannedRecords& records, const std::string& folder);

}  // namespace transfer
