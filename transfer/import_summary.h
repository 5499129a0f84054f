#pragma once
// What an import will do, in the words of its confirmation.
#include <QString>

#include "transfer/csv_import.h"

namespace transfer {

// The format, the records and categories to be added, the rows skipped and the first rows that
// could not be read, one line each; the window and the command line show the same.
QString ImportSummary(const ImportPlan& plan);

}  // namespace transfer
