#pragma once
// Bringing accounts in from the CSV exports of other password managers and of browsers: a plan
// that the user confirms, then the import of the planned records in one transaction.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "transfer/planned_records.h"
#include "transfer/transfer_error.h"
#include "vault/vault.h"

namespace transfer {

enum class CsvFormat { KeePassXc, Bitwarden, Chromium, Firefox };

// "KeePassXC", "Bitwarden", "Chrome/Chromium", "Firefox"
QString FormatName(CsvFormat format);

// A row that cannot be imported: the line where it starts (1-based) and why, in Chinese.
struct UnreadableRow {
  int line;
  QString reason;
};

struct ImportPlan {
  CsvFormat format;
  PlannedRecords records;                 // the rows to add, in file order
  QStringList newCategories;              // categories that do not exist yet, each once
  int duplicates = 0;                     // equal in all six fields to an existing record or an earlier row
  int otherTypes = 0;                     // Bitwarden rows not of type login
  std::vector<UnreadableRow> unreadable;  // all of them; the window shows the first 10
};

// A file larger than this is refused before it is read: exports of passwords are far smaller.
inline constexpr qint64 kLargestImport = qint64{64} << 20;

// Reads and decodes the file and compares it with the vault's records. Throws TransferError
// when the file cannot be read, is larger than kLargestImport or its header is none of the four formats.
ImportPlan PlanImport(vault::Vault& vault, const QString& path);

enum class ImportOutcome { Imported, Cancelled };

// Takes the backup "导入前备份_bak_<stamp>_.udb" (stamp from clockText as the other backups do),
// then adds plan.records in one transaction. progress(done, total) is called now and then; when
// it returns false the transaction is rolled back and the file is exactly as before. Throws
// TransferError (the file as before) on failure.
ImportOutcome RunImport(vault::Vault& vault, const ImportPlan& plan, const QString& clockText,
                        const std::function<bool(int done, int total)>& progress);

}  // namespace transfer
