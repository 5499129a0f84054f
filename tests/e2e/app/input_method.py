"""Auto-fill with a Chinese input method on: fcitx5 with pinyin switched on, then IBus with libpinyin
active, in the receiver, a Qt window that uses the framework's input-method module. Both hot keys in
keystroke style enter every printable ASCII character and a Chinese password exactly, and the input
method is on again afterwards."""

import atexit
import os
import signal
import subprocess

import autofill
import keyhaven_e2e as k

ACCOUNT = "".join(chr(c) for c in range(0x20, 0x7F))
PASSWORD = "钥匣密码，全角Ａ１！zhong"
TITLE = "输入法测试"
PROFILE = """[Groups/0]
Name=默认
Default Layout=us
DefaultIM=pinyin

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=pinyin
Layout=

[GroupOrder]
0=默认
"""


def fcitx5_state():
    """fcitx5-remote's answer for the focused window: 2 while the input method is on."""
    return k.run(["fcitx5-remote"], timeout=10).stdout.decode().strip()


def fcitx5_serves():
    # Asked of the bus itself: a call to fcitx5 would have the bus start another one.
    answer = k.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                    "org.freedesktop.DBus.NameHasOwner", "string:org.fcitx.Fcitx5"], timeout=10)
    return b"boolean true" in answer.stdout


def start_fcitx5(world):
    """fcitx5 with a profile of its own (keyboard-us and pinyin); returns once it serves on the bus."""
    config = os.path.join(world.root, "fcitx5-config")
    os.makedirs(os.path.join(config, "fcitx5"))
    with open(os.path.join(config, "fcitx5", "profile"), "w", encoding="utf-8") as profile:
        profile.write(PROFILE)
    process = k.spawn(["fcitx5", "--keep"], env=dict(os.environ, XDG_CONFIG_HOME=config),
                      stdout=open(os.path.join(world.root, "fcitx5.log"), "wb"), stderr=subprocess.STDOUT)
    k.wait_for(fcitx5_serves, "fcitx5 to serve on the session bus", timeout=30)
    k.check(True, "fcitx5 runs with keyboard-us and pinyin")
    return lambda: k._end(process)


def ibus(command):
    """IBus's own client: "address" and "engine" only read."""
    return k.run(["ibus", command], timeout=10).stdout.decode().strip()


def ibus_picks(engine):
    """As the user picks an engine in IBus's panel."""
    k.run(["dbus-send", f"--bus={ibus('address')}", "--print-reply", "--dest=org.freedesktop.IBus",
           "/org/freedesktop/IBus", "org.freedesktop.IBus.SetGlobalEngine", f"string:{engine}"], timeout=30)
    return ibus("engine") == engine


def start_ibus(world):
    """ibus-daemon with the user's engines xkb:us::eng and libpinyin, libpinyin active, on a session
    bus of its own so that dconf and IBus's helpers keep their files in the test's home."""
    daemon = k.spawn(["dbus-run-session", "--", "sh", "-c",
                      "dconf write /desktop/ibus/general/preload-engines \"['xkb:us::eng', 'libpinyin']\" && "
                      "exec ibus-daemon --panel=disable --emoji-extension=disable"],
                     stdout=open(os.path.join(world.root, "ibus.log"), "wb"), stderr=subprocess.STDOUT,
                     start_new_session=True)
    stop = lambda: daemon.poll() is None and os.killpg(daemon.pid, signal.SIGTERM)  # with its bus and engines
    atexit.register(stop)
    for engine in ("xkb:us::eng", "libpinyin"):  # both engines' processes run before the first fill
        k.wait_for(lambda: ibus_picks(engine), f"IBus to run {engine}", timeout=30)
    return stop


FRAMEWORKS = [
    # name, start, Qt's module, switching pinyin on in the focused window, whether it is on
    ("fcitx5", start_fcitx5, "fcitx", lambda: k.run(["fcitx5-remote", "-o"], timeout=10) and fcitx5_state() == "2",
     lambda: fcitx5_state() == "2"),
    ("IBus", start_ibus, "ibus", lambda: ibus_picks("libpinyin"), lambda: ibus("engine") == "libpinyin"),
]


def filled(world, options, framework, hot_key, expected, what):
    """Starts the receiver with the framework's module, switches pinyin on in it, presses the hot key
    and waits for the value; the input method must be on again afterwards."""
    name, _, module, switch_on, is_on = framework
    out = os.path.join(world.root, f"received-{len(os.listdir(world.root))}")
    process = k.spawn([options.receiver, out], env=dict(os.environ, QT_IM_MODULE=module),
                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        k.wait_for(lambda: os.path.exists(out + ".ready"), "the receiver to have the focus")
        k.wait_for(switch_on, "pinyin to be on in the receiver")
        k.keys(hot_key)
        k.wait_for_file_text(out, expected, f"{name}: {what}", timeout=20)
        k.wait_for(is_on, f"{name} to report the input method on again", timeout=5)
        k.check(True, f"after {hot_key} {name} reports the input method on again")
    finally:
        k._end(process)


def steps(world, options):
    world.start()
    main = k.login(k.INITIAL_MASTER)
    listbox = k.add_category(main, "输入法分类")
    k.click_list_item(listbox, "输入法分类")
    k.add_record(main, TITLE, "https://im.example.com", ACCOUNT, PASSWORD)
    k.click_grid_cell(k.grid(main), TITLE)
    k.wait_for(lambda: k.text_of(k.control(main, "帐号", k.atspi().ROLE_TEXT)) == ACCOUNT, "the record picked")
    autofill.choose_mode(main, "帐号密码非粘贴式")

    # One framework after the other: the program asks anew at every fill.
    for framework in FRAMEWORKS:
        stop = framework[1](world)
        filled(world, options, framework, "ctrl+Left", ACCOUNT,
               "with pinyin on, Ctrl+← types every printable ASCII character")
        filled(world, options, framework, "ctrl+Right", PASSWORD, "with pinyin on, Ctrl+→ types the Chinese password")
        stop()
    k.check(k.clipboard() == "", "typed, not pasted: the clipboard stays empty")


if __name__ == "__main__":
    k.scenario(steps)
