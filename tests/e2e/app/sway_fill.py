"""Auto-fill on sway: the program runs on XWayland under a real headless sway; after login and a
pick, `keyhaven --fill account` and `--fill password` type every printable ASCII character and a
Chinese password exactly into a native Wayland window (through the compositor's virtual keyboard)
and into an XWayland window (through XTest), keystroke style; paste style pastes into the native
window from the Wayland clipboard, which the program sets itself (sway keeps XWayland's clipboard
from native windows): marked secret, emptied after its time, but not when another program copied since.
The idle lock counts the compositor's idle time: typing into a native window, which XWayland never
sees, holds it off, and staying still brings it.

sway refuses to run as root: it runs as the user keyhaven-e2e (keyhaven_e2e.as_test_user)."""

import glob
import os
import signal
import subprocess
import tempfile
import time

import autofill
import keyhaven_e2e as k

IDLE_SECONDS = 8  # room for the login and the pick, whose XTest input the compositor does not see

SWAY_CONFIG = """xwayland enable
output HEADLESS-1 resolution 1280x800
exec sh -c 'echo "$DISPLAY" > {runtime}/display.new && mv {runtime}/display.new {runtime}/display'
"""


def start_sway():
    """A headless sway with XWayland in a runtime folder of its own; sets WAYLAND_DISPLAY and DISPLAY."""
    runtime = tempfile.mkdtemp(prefix="keyhaven-sway-runtime-")  # mode 0700, ours
    config = os.path.join(runtime, "config")
    with open(config, "w") as file:
        file.write(SWAY_CONFIG.format(runtime=runtime))
    environment = {name: value for name, value in os.environ.items() if name not in ("DISPLAY", "WAYLAND_DISPLAY")}
    environment.update(XDG_RUNTIME_DIR=runtime, WLR_BACKENDS="headless", WLR_LIBINPUT_NO_DEVICES="1",
                       WLR_RENDERER="pixman")
    k.spawn(["sway", "-c", config], env=environment, stdout=open(os.path.join(runtime, "sway.log"), "wb"),
            stderr=subprocess.STDOUT)
    sockets = lambda: [s for s in glob.glob(os.path.join(runtime, "wayland-*")) if not s.endswith(".lock")]
    socket = k.wait_for(sockets, "sway's Wayland socket")[0]
    display_file = os.path.join(runtime, "display")
    k.wait_for(lambda: os.path.exists(display_file), "sway to name the XWayland display")
    with open(display_file) as file:
        display = file.read().strip()
    k.check(display.startswith(":"), f"sway runs headless with XWayland on {display}")
    os.environ.update(WAYLAND_DISPLAY=socket, DISPLAY=display, XDG_SESSION_TYPE="wayland")
    return runtime


def steps(world, options):
    k.import_fill_record(world, options.cli)
    world.start()
    main = k.login(k.INITIAL_MASTER)
    k.filled(world, options.receiver, "wayland", "password", None)  # armed only by a pick
    k.pick_fill_record(main)
    # XWayland first: the compositor hands the virtual keyboard's keymap to XWayland as well, and on
    # a headless seat no real key brings the user's keymap back before an XWayland fill.
    for platform in ("xcb", "wayland"):
        k.filled(world, options.receiver, platform, "account", k.FILL_ACCOUNT)
        k.filled(world, options.receiver, platform, "password", k.FILL_PASSWORD)
    autofill.choose_mode(main, "帐号密码粘贴式")
    k.filled(world, options.receiver, "wayland", "password", k.FILL_PASSWORD, "paste style")
    reader, clipboard = watched_clipboard(world, options.receiver)
    k.wait_for_file_text(clipboard, "secret\n" + k.FILL_PASSWORD,
                         "the Wayland clipboard holds the password, marked secret")
    k.wait_for_file_text(clipboard, "\n", "the timed clearing empties the Wayland clipboard",
                         timeout=k.CLEARING_SECONDS + 15)
    k._end(reader)
    k.filled(world, options.receiver, "wayland", "account", k.FILL_ACCOUNT, "paste style")
    _, clipboard = watched_clipboard(world, options.receiver, "another program's copy")
    k.wait_for_file_text(clipboard, "\nanother program's copy", "another program copies after the fill")
    time.sleep(k.CLEARING_SECONDS + 2)  # the timed clearing comes meanwhile
    k.wait_for_file_text(clipboard, "\nanother program's copy", "the timed clearing leaves another program's copy")

    # keyhaven-cli clip in a terminal: native windows can paste it, and Ctrl+C takes it off again.
    reader, clipboard = watched_clipboard(world, options.receiver)
    clip = subprocess.Popen([options.cli, "--db", world.database, "clip", k.FILL_TITLE], stdin=subprocess.PIPE,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    k._children.append(clip)
    clip.stdin.write((k.INITIAL_MASTER + "\n").encode())
    clip.stdin.close()
    k.wait_for_file_text(clipboard, "secret\n" + k.FILL_PASSWORD,
                         "keyhaven-cli clip puts the password on the Wayland clipboard")
    clip.send_signal(signal.SIGINT)
    k.check(clip.wait(timeout=10) == 0, "keyhaven-cli clip ends at Ctrl+C")
    k.wait_for_file_text(clipboard, "\n", "Ctrl+C empties the Wayland clipboard")
    k._end(reader)
    idle_lock(world, options)


def idle_lock(world, options):
    """A new start with one idle minute, shortened by the program's test-only override."""
    k._end(world.programs[-1])
    with open(os.path.join(world.folder, "Config.ini"), "wb") as config:
        config.write("[软件配置]\r\n粘贴式=0\r\n非粘贴式=1\r\n空闲锁定分钟=1\r\n".encode("gbk"))
    os.environ["KEYHAVEN_TEST_IDLE_LIMIT_SECONDS"] = str(IDLE_SECONDS)
    world.start()
    main = k.login(k.INITIAL_MASTER)
    k.pick_fill_record(main)
    # The virtual keyboard's keymap is XWayland's now, and on a headless seat no real key brings
    # back one with the arrow keys: this start cannot grab its X11 hot keys, and says so.
    k.answer_message("热键 Ctrl + ←、Ctrl + → 已被其他程序占用，无法用它自动输入。")
    out = os.path.join(world.root, "received-idle")
    k.spawn([options.receiver, out], env=dict(os.environ, QT_QPA_PLATFORM="wayland"), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
    k.wait_for(lambda: os.path.exists(out + ".ready"), "the native receiver to have the focus")
    typing_until = time.monotonic() + IDLE_SECONDS * 2
    while time.monotonic() < typing_until:
        asked = k.run([world.program, "--fill", "account"], timeout=60)
        k.check(asked.returncode == 0, f"typing into a native window holds the idle lock off: {asked.stderr.decode()!r}")
        time.sleep(0.5)
    still_since = time.monotonic()
    k.wait_for(lambda: not k.x_windows_named(k.MAIN_TITLE), "the main window hides after the idle time",
               timeout=IDLE_SECONDS * 3, interval=0.5)
    k.check(time.monotonic() - still_since >= IDLE_SECONDS - 1, "not before the idle time has passed")


def watched_clipboard(world, receiver, own_copy=None):
    """A native receiver that reports the Wayland clipboard (after copying own_copy) while the test runs."""
    out = os.path.join(world.root, f"clipboard-{len(os.listdir(world.root))}")
    process = k.spawn([receiver, out, "--clipboard"] + ([own_copy] if own_copy else []),
                      env=dict(os.environ, QT_QPA_PLATFORM="wayland"), stdout=subprocess.DEVNULL,
                      stderr=subprocess.DEVNULL)
    k.wait_for(lambda: os.path.exists(out + ".ready"), "the clipboard's reader to have the focus")
    return process, out + ".clipboard"


def main():
    options = k.as_test_user("sway refuses root")
    runtime = start_sway()
    k.on_desktop(options, runtime, os.path.join(runtime, "sway.log"), steps)


if __name__ == "__main__":
    main()
