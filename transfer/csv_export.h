#pragma once
// Taking every account out as a CSV file that password managers and spreadsheets read.
#include <QString>
#include <functional>

#include "transfer/transfer_error.h"
#include "vault/vault.h"

namespace transfer {

// Writes every record to path: 0600, atomically (a temporary ".~export-" file beside it, then a
// rename), UTF-8 without BOM, LF, every field quoted, under the header "Group","Title",
// "Username","Password","URL","Notes","TOTP","Icon","Last Modified","Created". Gives the number
// of records written; throws TransferError, path then as it was, also when goOn() turns false.
int ExportCsv(
    vault::Vault& vault, const QString& path, const std::function<bool()>& goOn = [] { return true; });

}  // namespace transfer
