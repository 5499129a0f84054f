#include "cli/typed_record.h"

#include "cli/cli_error.h"
#include "cli/record_lookup.h"
#include "cli/terminal_input.h"
#include "vault/record_checks.h"

namespace cli {

QString Answer(TerminalInput& input, const QString& prompt, bool hidden) {
  return input.ask(prompt, hidden).value_or(QString());
}

void CheckTypedRecord(vault::Vault& vault, vault::Record& record) {
  record.category = ExistingCategory(vault, record.category);
  if (QString missing = vault::MissingField(record); !missing.isEmpty()) throw Failure(missing);
  if (QString refusal = vault::UncarriedCharacter(record); !refusal.isEmpty()) throw Failure(refusal);
}

}  // namespace cli
