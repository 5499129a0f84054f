#include "cli/confirmation.h"

#include <optional>

#include "cli/cli_error.h"
#include "cli/terminal_input.h"

namespace cli {

void ConfirmUnlessYes(const Invocation& invocation, const QString& question) {
  if (invocation.has("--yes")) return;
  const std::optional<bool> yes = ConfirmOnTerminal(question);
  if (!yes) throw UsageError("没有终端可以确认, 请加 --yes.");
  if (!*yes) throw Failure("已取消.");
}

}  // namespace cli
