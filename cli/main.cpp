// keyhaven-cli: the accounts of keyhaven's database from a terminal or a script.
#include <QCoreApplication>
#include <QGuiApplication>
#include <exception>
#include <memory>

#include "cli/arguments.h"
#include "cli/cli_error.h"
#include "cli/command_registry.h"
#include "cli/commands.h"
#include "cli/record_output.h"
#include "input/clipboard.h"
#include "keyhaven_version.h"
#include "platform/core_dumps.h"
#include "platform/graphical_session.h"
#include "platform/session_type.h"
#include "platform/wayland/wayland_clipboard.h"

namespace {

QStringList ArgumentsAfterProgram(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

// The clipboard needs the graphical application; every other command stays off the display.
std::unique_ptr<QCoreApplication> MakeApplication(const cli::Invocation& invocation, int& argc, char** argv) {
  if (cli::FindCommand(invocation.command)->graphical) {
    if (!platform::HasGraphicalSession()) throw cli::Failure("没有图形会话, 无法使用剪贴板.");
    // Qt's Wayland clipboard takes a copy only from a focused window, which a terminal command has
    // none of: XWayland's clipboard, which GNOME passes on to native windows, takes it.
    platform::PreferX11Windows();
    return std::make_unique<QGuiApplication>(argc, argv);
  }
  return std::make_unique<QCoreApplication>(argc, argv);
}

}  // namespace

int main(int argc, char** argv) {
  platform::KeepMemoryOutOfCoreDumps();  // the master password and the records pass through memory
  try {
    const cli::Invocation invocation = cli::ParseArguments(ArgumentsAfterProgram(argc, argv));
    if (invocation.version) {
      cli::PrintLine(QString("keyhaven-cli ") + KEYHAVEN_VERSION);
      return cli::kSuccess;
    }
    if (invocation.help) {
      cli::PrintLine(cli::HelpText(invocation.command));
      return cli::kSuccess;
    }
    const std::unique_ptr<QCoreApplication> application = MakeApplication(invocation, argc, argv);
    // sway and KDE Plasma pass XWayland's clipboard to no native window: there the copy goes onto
    // the Wayland clipboard itself.
    const std::unique_ptr<platform::wayland::WaylandClipboard> waylandClipboard =
        qobject_cast<QGuiApplication*>(application.get()) && platform::IsWaylandSession()
            ? platform::wayland::WaylandClipboard::open()
            : nullptr;
    input::SharedClipboard().useDesktopClipboard(waylandClipboard.get());
    const int code = cli::RunCommand(invocation);
    input::SharedClipboard().useDesktopClipboard(nullptr);
    return code;
  } catch (const cli::CliError& error) {
    cli::PrintErrorLine(error.message());
    return error.code();
  } catch (const std::exception& error) {
    // The store's messages start with the window's Chinese line and carry the engine's after it.
    cli::PrintErrorLine(QString::fromUtf8(error.what()));
    return cli::kFailure;
  }
}
