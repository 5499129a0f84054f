"""Auto-fill on sway: the program runs on XWayland under a real headless sway; after login and a
pick, `keyhaven --fill account` and `--fill password` type every printable ASCII character and a
Chinese password exactly into a native Wayland window (through the compositor's virtual keyboard)
and into an XWayland window (through XTest), keystroke style; paste style pastes into the native
window from the Wayland clipboard, which the program sets itself (sway keeps XWayland's clipboard
from native windows): marked secret, emptied after its time, but not when another program copied since.

sway refuses to run as root: as root the test runs itself as the user keyhaven-e2e (made when it is
missing) from a world-readable copy of what it runs; as any other user it is skipped."""

import argparse
import csv
import glob
import os
import pwd
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import autofill
import keyhaven_e2e as k

USER = "keyhaven-e2e"
SKIPPED = 77  # ctest's SKIP_RETURN_CODE
ACCOUNT = "".join(chr(c) for c in range(0x20, 0x7F))
PASSWORD = "钥匣密码，全角Ａ１！zhong"
CATEGORY = "sway"
TITLE = "虚拟键盘测试"
CLEARING_SECONDS = 10  # the shortest a user can choose
SWAY_CONFIG = """xwayland enable
output HEADLESS-1 resolution 1280x800
exec sh -c 'echo "$DISPLAY" > {runtime}/display.new && mv {runtime}/display.new {runtime}/display'
"""


def as_test_user(options):
    """Runs this script as USER from a world-readable copy of the programs; returns its exit code."""
    try:
        user = pwd.getpwnam(USER)
    except KeyError:
        subprocess.run(["useradd", "--system", "--no-create-home", "--shell", "/usr/sbin/nologin", USER], check=True)
        user = pwd.getpwnam(USER)
    copy = tempfile.mkdtemp(prefix="keyhaven-sway-")
    try:
        os.chmod(copy, 0o755)
        here = os.path.dirname(os.path.abspath(__file__))
        for path in (__file__, os.path.join(here, "keyhaven_e2e.py"), os.path.join(here, "autofill.py"),
                     options.keyhaven, options.newdb, options.cli,
                     options.receiver):
            shutil.copy2(path, copy)
            os.chmod(os.path.join(copy, os.path.basename(path)), 0o755)
        screenshots = os.path.join(copy, "screenshots")
        os.makedirs(screenshots)
        os.chown(screenshots, user.pw_uid, user.pw_gid)
        named = lambda path: os.path.join(copy, os.path.basename(path))
        environment = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "LANG": "C.UTF-8", "HOME": copy,
                       "PYTHONDONTWRITEBYTECODE": "1"}
        command = ["setpriv", f"--reuid={user.pw_uid}", f"--regid={user.pw_gid}", "--init-groups",
                   "dbus-run-session", "--", sys.executable, named(__file__), "--keyhaven", named(options.keyhaven),
                   "--newdb", named(options.newdb), "--cli", named(options.cli), "--receiver",
                   named(options.receiver), "--screenshots", screenshots, "--as-test-user"]
        result = subprocess.run(command, env=environment, cwd=copy, stdin=subprocess.DEVNULL)
        for shot in glob.glob(os.path.join(screenshots, "*.png")):
            os.makedirs(options.screenshots, exist_ok=True)
            shutil.copy(shot, options.screenshots)
        return result.returncode
    finally:
        shutil.rmtree(copy, ignore_errors=True)


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


def prepare_database(world, cli):
    """The record, imported with keyhaven-cli, and keystroke style chosen in Config.ini."""
    table = os.path.join(world.root, "records.csv")
    with open(table, "w", newline="", encoding="utf-8") as file:
        rows = csv.writer(file, quoting=csv.QUOTE_ALL)
        rows.writerow(["Group", "Title", "Username", "Password", "URL", "Notes"])
        rows.writerow([f"Root/{CATEGORY}", TITLE, ACCOUNT, PASSWORD, "https://sway.example.com", ""])
    imported = subprocess.run([cli, "--db", world.database, "import", table, "--yes"],
                              input=(k.INITIAL_MASTER + "\n").encode(), capture_output=True, timeout=60)
    k.check(imported.returncode == 0, f"keyhaven-cli imports the record: {imported.stderr.decode(errors='replace')}")
    with open(os.path.join(world.folder, "Config.ini"), "wb") as config:
        config.write(f"[软件配置]\r\n粘贴式=0\r\n非粘贴式=1\r\n剪贴板清空秒数={CLEARING_SECONDS}\r\n".encode("gbk"))


def filled(world, receiver, platform, which, expected, style="keystroke style"):
    """Starts the receiver on Qt's platform, waits for its focus, runs `keyhaven --fill which`;
    expected None: the program is disarmed, so the request fails and nothing arrives."""
    out = os.path.join(world.root, f"received-{platform}-{which}-{len(os.listdir(world.root))}")
    process = k.spawn([receiver, out], env=dict(os.environ, QT_QPA_PLATFORM=platform),
                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        k.wait_for(lambda: os.path.exists(out + ".ready"), f"the {platform} receiver to have the focus")
        asked = k.run([world.program, "--fill", which], timeout=60)
        if expected is None:
            k.check(asked.returncode == 1, f"a disarmed program refuses --fill {which}: {asked.stderr!r}")
            time.sleep(1)  # room for keys that should not come
            k.check(not os.path.exists(out), f"{platform} window: a disarmed program types nothing")
            return
        k.check(asked.returncode == 0, f"keyhaven --fill {which} asks the running program: {asked.stderr!r}")
        k.wait_for_file_text(out, expected, f"{platform} window, {style}: --fill {which} enters it exactly", timeout=15)
    finally:
        k._end(process)


def steps(world, options):
    prepare_database(world, options.cli)
    world.start()
    main = k.login(k.INITIAL_MASTER)
    filled(world, options.receiver, "wayland", "password", None)  # armed only by a pick
    k.click_list_item(k.control(main, "分类", k.atspi().ROLE_LIST), CATEGORY)
    k.click_grid_cell(k.grid(main), TITLE)
    k.wait_for(lambda: k.text_of(k.control(main, "帐号", k.atspi().ROLE_TEXT)) == ACCOUNT, "the record picked")
    # XWayland first: the compositor hands the virtual keyboard's keymap to XWayland as well, and on
    # a headless seat no real key brings the user's keymap back before an XWayland fill.
    for platform in ("xcb", "wayland"):
        filled(world, options.receiver, platform, "account", ACCOUNT)
        filled(world, options.receiver, platform, "password", PASSWORD)
    autofill.choose_mode(main, "帐号密码粘贴式")
    filled(world, options.receiver, "wayland", "password", PASSWORD, "paste style")
    reader, clipboard = watched_clipboard(world, options.receiver)
    k.wait_for_file_text(clipboard, "secret\n" + PASSWORD, "the Wayland clipboard holds the password, marked secret")
    k.wait_for_file_text(clipboard, "\n", "the timed clearing empties the Wayland clipboard", timeout=CLEARING_SECONDS + 15)
    k._end(reader)
    filled(world, options.receiver, "wayland", "account", ACCOUNT, "paste style")
    _, clipboard = watched_clipboard(world, options.receiver, "another program's copy")
    k.wait_for_file_text(clipboard, "\nanother program's copy", "another program copies after the fill")
    time.sleep(CLEARING_SECONDS + 2)  # the timed clearing comes meanwhile
    k.wait_for_file_text(clipboard, "\nanother program's copy", "the timed clearing leaves another program's copy")

    # keyhaven-cli clip in a terminal: native windows can paste it, and Ctrl+C takes it off again.
    reader, clipboard = watched_clipboard(world, options.receiver)
    clip = subprocess.Popen([options.cli, "--db", world.database, "clip", TITLE], stdin=subprocess.PIPE,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    k._children.append(clip)
    clip.stdin.write((k.INITIAL_MASTER + "\n").encode())
    clip.stdin.close()
    k.wait_for_file_text(clipboard, "secret\n" + PASSWORD, "keyhaven-cli clip puts the password on the Wayland clipboard")
    clip.send_signal(signal.SIGINT)
    k.check(clip.wait(timeout=10) == 0, "keyhaven-cli clip ends at Ctrl+C")
    k.wait_for_file_text(clipboard, "\n", "Ctrl+C empties the Wayland clipboard")
    k._end(reader)


def watched_clipboard(world, receiver, own_copy=None):
    """A native receiver that reports the Wayland clipboard (after copying own_copy) while the test runs."""
    out = os.path.join(world.root, f"clipboard-{len(os.listdir(world.root))}")
    process = k.spawn([receiver, out, "--clipboard"] + ([own_copy] if own_copy else []),
                      env=dict(os.environ, QT_QPA_PLATFORM="wayland"), stdout=subprocess.DEVNULL,
                      stderr=subprocess.DEVNULL)
    k.wait_for(lambda: os.path.exists(out + ".ready"), "the clipboard's reader to have the focus")
    return process, out + ".clipboard"


def main():
    parser = argparse.ArgumentParser()
    for name in ("--keyhaven", "--newdb", "--cli", "--receiver", "--screenshots"):
        parser.add_argument(name, required=True)
    parser.add_argument("--as-test-user", action="store_true")
    options = parser.parse_args()
    if os.geteuid() == 0:
        sys.exit(as_test_user(options))
    if not options.as_test_user and pwd.getpwuid(os.geteuid()).pw_name == USER:
        sys.exit(subprocess.run(["dbus-run-session", "--", sys.executable, *sys.argv, "--as-test-user"]).returncode)
    if not options.as_test_user:
        print(f"SKIPPED: sway refuses root, and only root can run this test as the user {USER}", flush=True)
        sys.exit(SKIPPED)
    runtime = start_sway()
    try:
        world = k.World(options.keyhaven, options.newdb)
        try:
            steps(world, options)
        except Exception:
            import traceback
            traceback.print_exc()
            try:
                k.screenshot(options.screenshots, "failed-sway_fill")
            except Exception as error:
                print(f"no screenshot of the failure: {error}")
            print(f"program exit codes: {[process.poll() for process in world.programs]}")
            print("program output:\n" + world.log_tail())
            with open(os.path.join(runtime, "sway.log"), errors="replace") as log:
                print("sway's log:\n" + log.read()[-3000:])
            sys.exit(1)
    finally:
        k._end_all()  # the programs and sway end before their folder goes
        shutil.rmtree(runtime, ignore_errors=True)
    print("PASS", flush=True)


if __name__ == "__main__":
    main()
