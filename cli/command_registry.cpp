#include "cli/command_registry.h"

namespace cli {

// One line per command, each described in its file under cli/commands/.
#define KEYHAVEN_CLI_COMMANDS(COMMAND) \
  COMMAND(kList)                       \
  COMMAND(kShow)                       \
  COMMAND(kClip)                       \
  COMMAND(kSearch)                     \
  COMMAND(kAdd)                        \
  COMMAND(kEdit)                       \
  COMMAND(kRemove)                     \
  COMMAND(kHistory)                    \
  COMMAND(kTrash)                      \
  COMMAND(kRestore)                    \
  COMMAND(kGenerate)                   \
  COMMAND(kImport)                     \
  COMMAND(kExport)

namespace commands {
#define KEYHAVEN_DECLARE_COMMAND(name) extern const Command name;
KEYHAVEN_CLI_COMMANDS(KEYHAVEN_DECLARE_COMMAND)
#undef KEYHAVEN_DECLARE_COMMAND
}  // namespace commands

const std::vector<const Command*>& Commands() {
#define KEYHAVEN_LIST_COMMAND(name) &commands::name,
  static const std::vector<const Command*> commands = {KEYHAVEN_CLI_COMMANDS(KEYHAVEN_LIST_COMMAND)};
#undef KEYHAVEN_LIST_COMMAND
  return commands;
}

const Command* FindCommand(const QString& name) {
  for (const Command* command : Commands())
    if (name == command->name) return command;
  return nullptr;
}

}  // namespace cli
