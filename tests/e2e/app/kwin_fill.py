"""Auto-fill on KDE Plasma 5.27: the program runs on XWayland under a real headless kwin whose
portal back-end is xdg-desktop-portal-kde; after login and a pick, `keyhaven --fill account` types
every printable ASCII character in order into a native Wayland window through the RemoteDesktop
portal, and `--fill password` enters a Chinese password there, pasted from the Wayland clipboard;
the portal's session started for the first fill serves the second; an XWayland window gets both.
Plasma 5.27's GlobalShortcuts portal binds nothing by itself, so no shortcut is pressed here.

Run as the user keyhaven-e2e, as sway_fill.py is; skipped when kwin or the portals are missing."""

import os
import shutil
import subprocess
import tempfile

import keyhaven_e2e as k

WIDTH, HEIGHT = 1280, 800
KWIN = "/usr/bin/kwin_wayland"
NEEDED = (KWIN, "/usr/libexec/xdg-desktop-portal", "/usr/share/xdg-desktop-portal/portals/kde.portal")


def start_kwin():
    """A headless kwin with XWayland in a runtime folder of its own, named to the session bus's
    services; sets WAYLAND_DISPLAY and DISPLAY."""
    runtime = tempfile.mkdtemp(prefix="keyhaven-kwin-runtime-")  # mode 0700, ours
    # The installed kwin carries a file capability that a container may refuse to run; headless it needs none.
    kwin = shutil.copy(KWIN, runtime)
    note, display_file = os.path.join(runtime, "note-display"), os.path.join(runtime, "display")
    with open(note, "w") as file:
        file.write(f'#!/bin/sh\necho "$DISPLAY" > {display_file}.new && mv {display_file}.new {display_file}\n')
    os.chmod(note, 0o700)
    environment = {name: value for name, value in os.environ.items() if name not in ("DISPLAY", "WAYLAND_DISPLAY")}
    environment.update(XDG_RUNTIME_DIR=runtime, XDG_CURRENT_DESKTOP="KDE", KWIN_SCREENSHOT_NO_PERMISSION_CHECKS="1")
    k.spawn([kwin, "--virtual", "--xwayland", "--width", str(WIDTH), "--height", str(HEIGHT), "--no-lockscreen",
             "--socket", "wayland-kwin", note], env=environment, stdout=open(os.path.join(runtime, "kwin.log"), "wb"),
            stderr=subprocess.STDOUT)
    k.wait_for(lambda: os.path.exists(display_file), "kwin to name the XWayland display")
    with open(display_file) as file:
        display = file.read().strip()
    k.check(display.startswith(":"), f"kwin runs headless with XWayland on {display}")
    socket = os.path.join(runtime, "wayland-kwin")
    os.environ.update(WAYLAND_DISPLAY=socket, DISPLAY=display, XDG_SESSION_TYPE="wayland", XDG_CURRENT_DESKTOP="KDE")
    # The portals start on demand with the bus's environment; the KDE one talks Wayland to kwin.
    told = k.run(["dbus-update-activation-environment", f"XDG_RUNTIME_DIR={runtime}", f"WAYLAND_DISPLAY={socket}",
                  f"DISPLAY={display}", "XDG_CURRENT_DESKTOP=KDE", "XDG_SESSION_TYPE=wayland",
                  "QT_QPA_PLATFORM=wayland"], timeout=30)
    k.check(told.returncode == 0, f"the session bus starts its services on kwin: {told.stderr!r}")
    return runtime


def kwin_screenshot(folder, name):
    """The screen through kwin's own screenshot interface: the root of its rootless XWayland cannot be read."""
    from gi.repository import Gio, GLib
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, name + ".png")
    read_end, write_end = os.pipe()
    converter = subprocess.Popen(["convert", "-size", f"{WIDTH}x{HEIGHT}", "-depth", "8", "bgra:-", path],
                                 stdin=read_end)
    os.close(read_end)
    try:
        Gio.bus_get_sync(Gio.BusType.SESSION).call_with_unix_fd_list_sync(
            "org.kde.KWin.ScreenShot2", "/org/kde/KWin/ScreenShot2", "org.kde.KWin.ScreenShot2", "CaptureWorkspace",
            GLib.Variant("(a{sv}h)", ({}, 0)), None, Gio.DBusCallFlags.NONE, 10000,
            Gio.UnixFDList.new_from_array([write_end]), None)  # the list owns write_end and closes it
        k.check(converter.wait(30) == 0, f"screenshot {path}")
    finally:
        k._end(converter)


def portal_starts(runtime):
    """Counts the RemoteDesktop portal's Start calls on the session bus from now on."""
    log = os.path.join(runtime, "starts.log")
    rule = "type=method_call,interface=org.freedesktop.portal.RemoteDesktop,member=Start"
    k.spawn(["dbus-monitor", "--session", rule], stdout=open(log, "wb"), stderr=subprocess.DEVNULL)
    text = lambda: open(log, errors="replace").read()
    k.wait_for(lambda: "member=NameLost" in text(), "dbus-monitor to watch the bus")  # its own name goes then
    return lambda: text().count("member=Start\n")


def steps(world, options, starts):
    k.import_fill_record(world, options.cli)
    # A cold KDE portal refuses Start until it has seen kwin's screen: a first call wakes it well before.
    woken = k.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.portal.Desktop",
                   "/org/freedesktop/portal/desktop", "org.freedesktop.DBus.Properties.Get",
                   "string:org.freedesktop.portal.RemoteDesktop", "string:version"], timeout=30)
    k.check(woken.returncode == 0, f"the RemoteDesktop portal answers: {woken.stderr!r}")
    world.start()
    main = k.login(k.INITIAL_MASTER)
    k.filled(world, options.receiver, "wayland", "password", None)  # armed only by a pick
    k.pick_fill_record(main)
    for platform in ("wayland", "xcb"):
        k.filled(world, options.receiver, platform, "account", k.FILL_ACCOUNT)
        k.filled(world, options.receiver, platform, "password", k.FILL_PASSWORD)
    k.check(starts() == 1, f"one consent serves the unlock: the portal was asked to Start {starts()} times")


def main():
    missing = [path for path in NEEDED if not os.path.exists(path)]
    if missing:
        k.skip(f"KDE Plasma's compositor or portals are not installed: {' '.join(missing)}")
    options = k.as_test_user("the desktop runs as a user of its own")
    runtime = start_kwin()
    starts = portal_starts(runtime)
    k.on_desktop(options, runtime, os.path.join(runtime, "kwin.log"),
                 lambda world, options: steps(world, options, starts), kwin_screenshot)


if __name__ == "__main__":
    main()
