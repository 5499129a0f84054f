#pragma once
// Every command of keyhaven-cli, in the order --help lists them.
#include <QString>
#include <vector>

#include "cli/command.h"

namespace cli {

const std::vector<const Command*>& Commands();

// The command of this name; nullptr for any other word.
const Command* FindCommand(const QString& name);

}  // namespace cli
