"""Start and login: the login window, the main window after the right password, the desktop
shortcut, and a second start that ends at once and silently."""

import glob
import os

import keyhaven_e2e as k


def steps(world, options):
    first = world.start()
    k.wait_for(lambda: k.x_windows_named(k.LOGIN_TITLE), "an X window titled '管理登录'")
    k.check(not k.x_windows_named(k.MAIN_TITLE), "the main window stays hidden before the login")
    k.login(k.INITIAL_MASTER)
    k.check(bool(k.x_windows_named(k.MAIN_TITLE)), f"an X window titled '{k.MAIN_TITLE}' after the login")

    # The deciphered secrets in its memory never go into a core file.
    with open(f"/proc/{first.pid}/limits", encoding="ascii") as limits:
        core = [line.split()[4:6] for line in limits if line.startswith("Max core file size")]
    k.check(core == [["0", "0"]], f"the program allows no core file (limits {core})")

    shortcut = os.path.join(world.desktop, "钥匣个人版.desktop")
    k.check(os.path.isfile(shortcut), f"the desktop shortcut {shortcut} exists")
    with open(shortcut, encoding="utf-8") as entry:
        text = entry.read()
    k.check(f'Exec="{world.program}"' in text and "Name=钥匣个人版" in text,
            f"the shortcut starts this program copy: {text!r}")
    k.check(os.access(shortcut, os.X_OK), "the shortcut is executable")
    # Its icon: the installed one, or for this copy the drawn one in the user's icon folder.
    installed = glob.glob("/usr/share/icons/hicolor/*/apps/keyhaven.png")
    icon = os.path.join(world.home, ".local/share/icons/hicolor/128x128/apps/keyhaven.png")
    if not installed:
        with open(icon, "rb") as png:
            k.check(png.read(8) == b"\x89PNG\r\n\x1a\n", f"the shortcut's icon {icon} is a PNG")
    k.check("Icon=keyhaven" in text, "the shortcut names the icon keyhaven")

    windows_before = sorted(k.xdotool("search", "--onlyvisible", "--name", ""))
    second = world.start()
    status = k.exits(second, "a second start ends by itself", timeout=15)
    k.check(status == 0, f"the second start ends without error (status {status})")
    k.check(sorted(k.xdotool("search", "--onlyvisible", "--name", "")) == windows_before,
            "the second start shows no window or message")
    k.check(first.poll() is None and bool(k.x_windows_named(k.MAIN_TITLE)), "the first instance keeps running")

    k.tray_menu("退出程序")
    k.exits(first, "'退出程序' in the tray menu ends the program")


if __name__ == "__main__":
    k.scenario(steps)
