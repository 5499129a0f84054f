"""Auto-fill: with another program's line edit focused, Ctrl+Right enters the picked record's
password and Ctrl+Left its account name, typed key by key and pasted; the copy button puts the
password on the clipboard, and the timed clearing empties it."""

import os
import re
import subprocess

import keyhaven_e2e as k

ACCOUNT = "yz.user@example.com"
PASSWORD = "Zy+^%~(){}@#!7"
TITLE = "自动输入测试"
CLEARING_SECONDS = 10


def ab01_keysym():
    """The keysym on the key left of X on a US keyboard tells which layout is active."""
    keymap = subprocess.run(["xkbcomp", os.environ["DISPLAY"], "-"], capture_output=True, text=True).stdout
    match = re.search(r"key <AB01>\s*\{[^}]*?symbols\[Group1\]=\s*\[\s*([^, \]]+)", keymap)
    return match.group(1) if match else ""


def use_layout(layout):
    expected = {"default": "z", "de": "y"}[layout]
    if layout != "default":
        k.check(k.run(["setxkbmap", layout]).returncode == 0, f"setxkbmap {layout}")
    k.check(ab01_keysym() == expected, f"keyboard layout '{layout}' is active (<AB01> is '{ab01_keysym()}')")


def delivered(world, receiver, hot_key, expected, what, focused_by_window_manager=False):
    """Starts the receiver, waits until it has the focus, presses the hot key (or runs
    `keyhaven --fill …` when hot_key is that option), reads what arrived. Under a window manager,
    also until the manager names it the active window."""
    out = os.path.join(world.root, f"received-{hot_key}-{len(os.listdir(world.root))}")
    process = k.spawn([receiver, out], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        k.wait_for(lambda: os.path.exists(out + ".ready"), "the receiver to have the focus")
        if focused_by_window_manager:
            k.wait_for(lambda: k.run(["xdotool", "getactivewindow", "getwindowname"], timeout=10).stdout
                       == b"keyhaven-receiver\n", "the window manager to make the receiver the active window")
        if hot_key.startswith("--fill "):
            asked = k.run([world.program] + hot_key.split(), timeout=60)
            k.check(asked.returncode == 0, f"keyhaven {hot_key} asks the running program: {asked.stderr!r}")
        else:
            k.keys(hot_key)
        k.wait_for_file_text(out, expected, what, timeout=15)
    finally:
        k._end(process)


def choose_mode(main, caption):
    pyatspi = k.atspi()
    k.show_tab(main, "软件设置")
    radio = k.control(main, caption, pyatspi.ROLE_RADIO_BUTTON)
    k.click(radio)
    k.wait_for(lambda: radio.getState().contains(pyatspi.STATE_CHECKED), f"'{caption}' checked")
    k.show_tab(main, "帐号管理")


def steps(world, options):
    use_layout(options.layout)
    if options.wait_clearing:
        # The shortest time a user can choose, so the wait for the clearing stays short.
        with open(os.path.join(world.folder, "Config.ini"), "wb") as config:
            config.write(f"[软件配置]\r\n剪贴板清空秒数={CLEARING_SECONDS}\r\n".encode("gbk"))
    world.start()
    main = k.login(k.INITIAL_MASTER)
    listbox = k.add_category(main, "自动输入分类")
    k.click_list_item(listbox, "自动输入分类")
    k.add_record(main, TITLE, "https://login.example.com", ACCOUNT, PASSWORD)
    table = k.grid(main)
    k.click_grid_cell(table, TITLE)
    k.wait_for(lambda: k.text_of(k.control(main, "帐号", k.atspi().ROLE_TEXT)) == ACCOUNT, "the record picked")

    choose_mode(main, "帐号密码非粘贴式")
    delivered(world, options.receiver, "ctrl+Right", PASSWORD, f"keystroke style: Ctrl+→ types the password")
    delivered(world, options.receiver, "ctrl+Left", ACCOUNT, f"keystroke style: Ctrl+← types the account name")
    delivered(world, options.receiver, "--fill password", PASSWORD, "keyhaven --fill password types the password")
    second = k.run([world.program], timeout=10)
    k.check(second.returncode == 0, "a second start hands over to the running program and ends")
    k.check(k.clipboard() == "", "keystroke style leaves the clipboard alone")

    k.press(k.button(main, "复制密码"))
    k.wait_for(lambda: k.clipboard() == PASSWORD, "the copy button to put the password on the clipboard")
    k.check(True, "xclip reads the copied password")

    choose_mode(main, "帐号密码粘贴式")
    delivered(world, options.receiver, "ctrl+Left", ACCOUNT, "paste style: Ctrl+← pastes the account name")
    k.check(k.clipboard() == ACCOUNT, "paste style leaves the account name on the clipboard")
    delivered(world, options.receiver, "ctrl+Right", PASSWORD, "paste style: Ctrl+→ pastes the password")

    if options.wait_clearing:
        # The countdown started with the copy button; later copies do not restart it.
        k.wait_for(lambda: k.clipboard() == "", f"the clipboard to be emptied {CLEARING_SECONDS} s after the copy",
                   timeout=CLEARING_SECONDS + 30, interval=0.5)
        k.check(True, "the timed clearing empties the clipboard")


if __name__ == "__main__":
    k.scenario(steps)
