#pragma once
// What an import will do, in the words of its confirmation.
#include <QString>

#include "transfer/csv_import.h"

// The format, the records and categories to be added, the rows skipped and the first rows that
// could not be read, one line each.
QString ImportSummary(const transfer::ImportPlan& plan);
