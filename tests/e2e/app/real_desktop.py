"""Under a real window manager (openbox) with a real notification area (trayer): the program's
tray icon is embedded in the tray, a click on it while locked brings the login window, "最小化"
takes the main window off the window manager's client list and the next login puts it back
without the skip-taskbar state, both hot keys fill a window that the window manager focused, and
the window manager's minimise button locks like "最小化"."""

import os
import re
import subprocess

import autofill
import keyhaven_e2e as k

ACCOUNT = "wm.user@example.com"
PASSWORD = "Wm+Pass^7(x)"
TITLE = "窗口管理器测试"


def root_property(name):
    return k.run(["xprop", "-root", name], timeout=10).stdout.decode()


def window_ids(text):
    return [int(match, 16) for match in re.findall(r"0x[0-9a-fA-F]+", text)]


def start_desktop(world):
    """openbox, then trayer in the bottom-right corner; returns once both serve."""
    k.wait_for(lambda: k.run(["xdpyinfo"], timeout=10).returncode == 0, "the X server to answer")
    k.spawn(["openbox", "--sm-disable"], stdout=open(os.path.join(world.root, "openbox.log"), "wb"),
            stderr=subprocess.STDOUT)
    k.wait_for(lambda: "window id" in root_property("_NET_SUPPORTING_WM_CHECK"), "openbox to manage the screen")
    k.spawn(["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request", "--height", "32",
             "--SetDockType", "true", "--transparent", "false"],
            stdout=open(os.path.join(world.root, "trayer.log"), "wb"), stderr=subprocess.STDOUT)
    panel = k.wait_for(lambda: k.xdotool("search", "--onlyvisible", "--classname", "panel"), "trayer's panel")
    k.check(True, "openbox manages the screen and trayer offers a notification area")
    return int(panel[0])


def tree_below(parent):
    """Every window below parent: (id, the rest of its line in xwininfo's tree)."""
    lines = k.run(["xwininfo", "-tree", "-id", hex(parent)], timeout=10).stdout.decode("utf-8", "replace")
    found = []
    for line in lines.splitlines():
        match = re.match(r"\s+(0x[0-9a-fA-F]+) (.*)", line)
        if match:
            found.append((int(match.group(1), 16), match.group(2)))
    return found


def tray_icon(panel):
    """The program's icon window embedded in the tray (Qt names its class after the program)."""
    def embedded():
        return [w for w, line in tree_below(panel) if '"keyhaven"' in line]
    return k.wait_for(embedded, "the program's icon embedded in trayer's panel")[0]


def click_window(window):
    values = dict(part.split("=") for part in k.xdotool("getwindowgeometry", "--shell", str(window)))
    k.click_at(int(values["X"]) + int(values["WIDTH"]) // 2, int(values["Y"]) + int(values["HEIGHT"]) // 2)


def main_window_id():
    return int(k.xdotool("search", "--name", f"^{k.MAIN_TITLE}$")[0])


def listed(window):
    return window in window_ids(root_property("_NET_CLIENT_LIST").partition("#")[2])


def skips_taskbar(window):
    state = k.run(["xprop", "-id", hex(window), "_NET_WM_STATE"], timeout=10).stdout.decode()
    return "_NET_WM_STATE_SKIP_TASKBAR" in state


def steps(world, options):
    panel = start_desktop(world)
    world.start()
    main = k.login(k.INITIAL_MASTER)
    icon = tray_icon(panel)
    k.check(not k.x_windows_named(k.TRAY_TITLE), "no stand-in window: the icon sits in the real tray")
    main_id = main_window_id()
    k.check(listed(main_id) and not skips_taskbar(main_id), "the main window is a client with a taskbar entry")

    listbox = k.add_category(main, "桌面分类")
    k.click_list_item(listbox, "桌面分类")
    k.add_record(main, TITLE, "https://wm.example.com", ACCOUNT, PASSWORD)
    k.click_grid_cell(k.grid(main), TITLE)
    k.wait_for(lambda: k.text_of(k.control(main, "帐号", k.atspi().ROLE_TEXT)) == ACCOUNT, "the record picked")
    k.screenshot(options.screenshots, "real-desktop-main")

    k.press(k.button(main, "最小化"))
    k.wait_for(lambda: not listed(main_id), "the main window to leave _NET_CLIENT_LIST after '最小化'")
    k.check(True, "after '最小化' the main window is not on the client list")

    # Locked, the hot keys still fill the window that the window manager focused (keystroke
    # style, as without Config.ini).
    for hot_key, expected in (("ctrl+Right", PASSWORD), ("ctrl+Left", ACCOUNT)):
        autofill.delivered(world, options.receiver, hot_key, expected,
                           f"{hot_key} fills the receiver that openbox focused",
                           focused_by_window_manager=True)

    click_window(icon)
    form = k.window(k.LOGIN_TITLE)
    k.check(form is not None, "a click on the tray icon while locked brings the login window")
    k.screenshot(options.screenshots, "real-desktop-login-from-tray")
    k.login(k.INITIAL_MASTER)
    main_id = main_window_id()
    k.wait_for(lambda: listed(main_id), "the main window to be listed again after the login")
    k.wait_for(lambda: not skips_taskbar(main_id), "the main window to lose _NET_WM_STATE_SKIP_TASKBAR")
    k.check(True, "after the next login the main window is listed again, with a taskbar entry")

    # The window manager's own minimise button locks as "最小化" does, instead of leaving the
    # unlocked window iconified on the taskbar.
    k.xdotool("windowminimize", str(main_id))
    k.wait_for(lambda: not listed(main_id), "the main window to leave the client list when openbox minimises it")
    click_window(icon)
    k.window(k.LOGIN_TITLE)
    k.check(not k.x_windows_named(k.MAIN_TITLE), "minimised by openbox, the program is locked: the tray icon "
            "brings the login window")
    k.login(k.INITIAL_MASTER)
    k.wait_for(lambda: listed(main_id) and "_NET_WM_STATE_HIDDEN" not in k.run(
        ["xprop", "-id", hex(main_id), "_NET_WM_STATE"], timeout=10).stdout.decode(),
        "the main window to come back listed and not minimised after the login")
    k.check(True, "after the login the main window is back, not minimised")


if __name__ == "__main__":
    k.scenario(steps)
