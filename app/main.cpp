// Program start: one instance, the main window first (hidden), then the login window.
#include <QApplication>
#include <QFont>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/instance_requests.h"
#include "app/maker_info.h"
#include "app/portal_consent.h"
#include "app/program_folder.h"
#include "app/program_windows.h"
#include "input/clipboard.h"
#include "platform/beeper.h"
#include "platform/core_dumps.h"
#include "platform/dbus/dbus_input_method.h"
#include "platform/dbus/portal_global_shortcuts.h"
#include "platform/dbus/portal_registration.h"
#include "platform/dbus/portal_remote_desktop.h"
#include "platform/desktop_lock_signals.h"
#include "platform/dialogs.h"
#include "platform/instance_channel.h"
#include "platform/instance_guard.h"
#include "platform/key_sink_route.h"
#include "platform/null_key_sink.h"
#include "platform/session_type.h"
#include "platform/shell.h"
#include "platform/standard_texts.h"
#include "platform/wayland/virtual_keyboard_fill.h"
#include "platform/wayland/wayland_clipboard.h"
#include "platform/wayland/wayland_idle.h"
#include "platform/x11/x11_focus.h"
#include "platform/x11/x11_hot_keys.h"
#include "platform/x11/x11_key_sink.h"
#include "platform/x11/x11_keyboard_group.h"
#include "platform/x11/x11_taskbar.h"

namespace {

// The windows are drawn in 宋体 at 13 pixels; where it is missing, an installed CJK font stands in.
void useWindowFont() {
  QFont::insertSubstitutions("宋体", {"SimSun", "WenQuanYi Zen Hei", "Noto Sans CJK SC", "Noto Sans SC"});
  QFont font("宋体");
  font.setPixelSize(13);
  QApplication::setFont(font);
}

// The socket in the folder that holds the single-instance lock; empty when that folder is not private.
std::string InstanceSocket(const platform::InstanceGuard& instance) {
  return instance.foldersTried().empty() ? std::string() : platform::InstanceSocketPath(instance.foldersTried().back());
}

}  // namespace

int main(int argc, char** argv) {
  // Before any secret is read. On Wayland the fill goes through the desktop portals.
  platform::KeepMemoryOutOfCoreDumps(platform::IsWaylandSession());
  const bool fill = argc > 1 && std::strcmp(argv[1], "--fill") == 0;
  if (fill && (argc != 3 || (std::strcmp(argv[2], "account") != 0 && std::strcmp(argv[2], "password") != 0))) {
    std::fprintf(stderr, "用法: keyhaven [--fill account|password]\n");
    return 2;
  }
  platform::InstanceGuard instance("钥匣");
  if (fill) return app::RunFillCommand(instance.heldElsewhere() ? InstanceSocket(instance) : std::string(), argv[2]);
  // A second start hands over to the running one, which comes to the front.
  if (instance.heldElsewhere()) {
    app::AskToShow(InstanceSocket(instance));
    return 0;
  }

  platform::PreferX11Windows();
  QApplication application(argc, argv);
  QApplication::setApplicationName("keyhaven");
  QGuiApplication::setDesktopFileName(app::maker::kApplicationId);
  QApplication::setQuitOnLastWindowClosed(false);
  useWindowFont();
  platform::InstallChineseStandardTexts(application);  // without it, the buttons stay English

  platform::QtDialogs dialogs(app::maker::kTitle);
  if (!instance.acquired()) {
    dialogs.error(QString::fromStdString(platform::InstanceGuard::NoUsableFolderMessage(instance.foldersTried())));
    return 1;
  }
  platform::DesktopShell shell;
  platform::x11::X11Taskbar taskbar;
  platform::SystemBeeper beeper;
  platform::x11::X11HotKeys hotKeys;
  std::unique_ptr<platform::KeySink> x11Keys = platform::x11::X11KeySink::open();
  if (!x11Keys) x11Keys = std::make_unique<platform::NullKeySink>();
  // On Wayland, XTest reaches XWayland windows only: native ones get the keys through the
  // compositor's virtual keyboard where it offers one (wlroots), else through the portal.
  const bool wayland = platform::IsWaylandSession();
  if (wayland) platform::dbus::RegisterWithPortals(app::maker::kApplicationId);
  const std::unique_ptr<platform::x11::X11Focus> x11Focus = wayland ? platform::x11::X11Focus::open() : nullptr;
  // Nor do kwin and sway pass XWayland's clipboard to native windows: copies go onto the Wayland
  // one where the compositor lets a program set it. GNOME's passes it on.
  const std::unique_ptr<platform::wayland::WaylandClipboard> waylandClipboard =
      wayland ? platform::wayland::WaylandClipboard::open() : nullptr;
  input::SharedClipboard().useDesktopClipboard(waylandClipboard.get());
  platform::wayland::VirtualKeyboardFill virtualKeyboard(waylandClipboard != nullptr);
  platform::dbus::PortalRemoteDesktop portal;
  platform::KeySinkRoute keySink(wayland, *x11Keys, [&x11Focus] { return x11Focus && x11Focus->clientWindowFocused(); },
                                 {&virtualKeyboard, &portal});
  std::unique_ptr<platform::InputMethod> inputMethod =
      platform::dbus::OpenInputMethod(platform::x11::CurrentKeyboardGroup);
  // XWayland tells no idle time, nor could it see input to native windows: the compositor tells it
  // where it can.
  const std::unique_ptr<platform::wayland::WaylandIdle> waylandIdle =
      wayland ? platform::wayland::WaylandIdle::open() : nullptr;
  platform::DesktopLockSignals lockSignals(waylandIdle.get());
  // The desktop owns the keys on Wayland: it binds them through its portal where it offers one.
  std::unique_ptr<platform::GlobalShortcuts> globalShortcuts;
  if (wayland)
    globalShortcuts = std::make_unique<platform::dbus::PortalGlobalShortcuts>();
  else
    globalShortcuts = std::make_unique<platform::NoGlobalShortcuts>();
  platform::Services services{dialogs, shell,        taskbar,     beeper,          hotKeys,
                              keySink, *inputMethod, lockSignals, *globalShortcuts};
  login::SessionKeys keys;

  app::ProvideInitialDatabase(vault::CurrentProgramFolderLayout(), dialogs);  // an installed program's first start
  app::ProgramWindows windows = app::CreateProgramWindows(services, keys, vault::ProgramFolder());
  portal.setTokenStore(app::PortalTokenInFile(*windows.main, *windows.login));
  const platform::InstanceChannel channel(
      InstanceSocket(instance), [&windows](const std::string& request, const platform::InstanceChannel::Reply& reply) {
        app::AnswerInstanceRequest(*windows.main, *windows.login, request, reply);
      });

  int result = application.exec();
  app::DestroyProgramWindows(windows.main, windows.login);
  input::SharedClipboard().useDesktopClipboard(nullptr);  // it outlives the Wayland one
  return result;
}
