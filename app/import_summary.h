#pragma once
// What an import will do, in the words of its confirmation; shared with the command line.
#include "transfer/import_summary.h"

using transfer::ImportSummary;
