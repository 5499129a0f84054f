#pragma once
// A password from the generator, as the window's generator would make it with Config.ini's choice.
#include <QString>

namespace cli {

// With the command's length when one is given (else the configured one) and without symbols
// when withSymbols is false. Throws CliError (kUsage) for a length out of range.
QString GeneratedPassword(const QString& folder, const QString& length, bool withSymbols);

}  // namespace cli
