#pragma once
// A record typed at the terminal (or given as lines of standard input) and the window's checks of it.
#include <QString>

#include "vault/vault.h"

namespace cli {

class TerminalInput;

// The answer to one question; empty when the input has ended.
QString Answer(TerminalInput& input, const QString& prompt, bool hidden = false);

// The window's checks of a typed record; the category must be one that exists, and takes its
// stored spelling. Throws CliError (kFailure) with the window's message.
void CheckTypedRecord(vault::Vault& vault, vault::Record& record);

}  // namespace cli
