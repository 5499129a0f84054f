#pragma once
// A question answered y/N on the terminal, or by --yes; without either the command cannot go on.
#include <QString>

#include "cli/arguments.h"

namespace cli {

// Throws CliError: kUsage without a terminal and without --yes, kFailure ("已取消.") for no.
void ConfirmUnlessYes(const Invocation& invocation, const QString& question);

}  // namespace cli
