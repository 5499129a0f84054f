"""Start-up helpers for the end-to-end tests of the real program.

Each test runs on its own X server (tests/e2e/input/run_under_x.sh) inside its own session bus
(dbus-run-session). This module gives it a private home, a program folder with a fresh database,
the accessibility bus, and the means to drive the program the way a screen reader and a user do:
AT-SPI for finding windows and controls, setting texts and pressing buttons; xdotool for real
clicks and keys; xclip for the clipboard; the sqlcipher command line for the files.
"""

import argparse
import atexit
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

DATABASE_KEY = "kv7Rq2mZx9Tb"
INITIAL_MASTER = "123456"
MAIN_TITLE = "钥匣个人版ver:1.81.20130204"
LOGIN_TITLE = "管理登录"
OWN_PASSWORD_TITLE = "设置管理密码"
# The dialog buttons, in Qt's Chinese texts (the mnemonic marks are not part of the name).
OK = "确定"
YES = "是(Y)"
NO = "否(N)"
TRAY_TITLE = "钥匣个人版 托盘"
MESSAGE_CAPTION = "钥匣个人版"

_pyatspi = None
_children = []  # processes started here, ended at exit whatever happens
_worlds = []


class E2EFailure(AssertionError):
    pass


def check(condition, what):
    if not condition:
        raise E2EFailure(what)
    print("ok   " + what, flush=True)


def wait_for(probe, what, timeout=20.0, interval=0.1):
    """Polls probe() until it gives something true; returns that or fails after timeout."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = probe()
            if value:
                return value
        except Exception as error:  # a window may vanish while it is being looked at
            last_error = error
        if time.monotonic() > deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise E2EFailure(f"timed out waiting for {what}{detail}")
        time.sleep(interval)


def _end(process, grace=3.0):
    if process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def _end_all():
    for process in reversed(_children):
        _end(process)
    _children.clear()


atexit.register(_end_all)
signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))


def spawn(command, **kwargs):
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL, **kwargs)
    _children.append(process)
    return process


def run(command, **kwargs):
    return subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True, **kwargs)


# --- the test's own world -------------------------------------------------------------------

class World:
    """Temp home, config, desktop and runtime folders, and the accessibility bus."""

    def __init__(self, keyhaven, newdb):
        if "DISPLAY" not in os.environ or "DBUS_SESSION_BUS_ADDRESS" not in os.environ:
            raise SystemExit("run under run_under_x.sh and dbus-run-session")
        self.keyhaven = keyhaven
        self.newdb = newdb
        self.root = tempfile.mkdtemp(prefix="keyhaven-e2e-")
        self.programs = []
        _worlds.append(self)
        atexit.register(shutil.rmtree, self.root, True)
        self.home = self._folder("home")
        self.config = self._folder("config")
        self.desktop = self._folder("desktop")
        self.runtime = self._folder("runtime")
        os.chmod(self.runtime, 0o700)
        with open(os.path.join(self.config, "user-dirs.dirs"), "w") as dirs:
            dirs.write(f'XDG_DESKTOP_DIR="{self.desktop}"\n')
        os.environ.update(HOME=self.home, XDG_CONFIG_HOME=self.config, XDG_RUNTIME_DIR=self.runtime,
                          QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                          QT_ACCESSIBILITY="1", NO_AT_BRIDGE="0", LANG="C.UTF-8")
        os.environ.pop("QT_QPA_PLATFORMTHEME", None)
        self.bus = spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for(self._accessibility_bus_up, "the accessibility bus")
        self.folder = self._folder("program")
        self.program = os.path.join(self.folder, "keyhaven")
        shutil.copy2(keyhaven, self.program)
        self.database = os.path.join(self.folder, "_.udb")
        made = run([newdb, self.database])
        check(made.returncode == 0 and os.path.exists(self.database),
              "a fresh database is made beside the program copy")

    def _folder(self, name):
        path = os.path.join(self.root, name)
        os.makedirs(path)
        return path

    @staticmethod
    def _accessibility_bus_up():
        answer = run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                      "org.a11y.Bus.GetAddress"], timeout=10)
        return answer.returncode == 0 and b"unix:" in answer.stdout

    def start(self):
        """Starts the program copy; returns the process."""
        wait_for(lambda: run(["xdpyinfo"], timeout=10).returncode == 0, "the X server to answer")
        log_path = os.path.join(self.root, "keyhaven.log")
        for attempt in range(3):
            with open(log_path, "ab") as log:
                log.write(f"--- start {len(self.programs) + 1}\n".encode())
                process = spawn([self.program], cwd=self.home, stdout=log, stderr=log)
            self.programs.append(process)
            _own_password_offer["pending"] = True
            # A fresh Xvfb now and then refuses the very first connections of a new client;
            # that is the server's doing, not the program's, so such a start is tried again.
            try:
                process.wait(1.5)
            except subprocess.TimeoutExpired:
                return process
            if "could not connect to display" not in self.log_tail():
                return process
            print(f"note: the program could not reach the X server (attempt {attempt + 1})", flush=True)
            time.sleep(0.5)
        return process

    def backups(self, pattern):
        return sorted(glob.glob(os.path.join(self.folder, pattern)))

    def log_tail(self):
        try:
            with open(os.path.join(self.root, "keyhaven.log"), "rb") as log:
                return log.read()[-2000:].decode("utf-8", "replace")
        except OSError:
            return ""


# --- the files ------------------------------------------------------------------------------

def sql(database, statement):
    """Rows of one statement on an encrypted database file, as lists of texts."""
    script = f"PRAGMA key='{DATABASE_KEY}';\n.mode list\n.separator \x1f\n{statement};\n"
    result = subprocess.run(["sqlcipher", "-batch", database], input=script.encode(), capture_output=True,
                            timeout=30)
    if result.returncode != 0 or result.stderr:
        raise E2EFailure(f"sqlcipher on {database}: {result.stderr.decode(errors='replace')}")
    lines = result.stdout.decode("utf-8").splitlines()
    return [line.split("\x1f") for line in lines if line != "ok"]


def master_cipher(newdb, password, folder):
    """The stored form of a master password, as the database tool writes it into a new file."""
    reference = os.path.join(folder, f"reference-{password}.udb")
    made = run([newdb, "--master", password, "--force", reference])
    if made.returncode != 0:
        raise E2EFailure(f"keyhaven-newdb --master failed: {made.stderr.decode(errors='replace')}")
    return sql(reference, "select 密码 from Pass")[0][0]


def wait_for_file_text(path, expected, what, timeout=15.0):
    """Waits until the file holds exactly `expected` (UTF-8); the failure names what it held."""
    def held():
        try:
            with open(path, encoding="utf-8") as f:
                return f.read()
        except OSError:
            return None
    try:
        wait_for(lambda: held() == expected, what, timeout=timeout)
    except E2EFailure:
        raise E2EFailure(f"{what}: the receiver got {held()!r}, expected {expected!r}") from None
    check(True, what)


def clipboard():
    """The text of the CLIPBOARD selection; empty when it holds nothing."""
    answer = run(["xclip", "-o", "-selection", "clipboard"], timeout=10)
    return answer.stdout.decode("utf-8", "replace") if answer.returncode == 0 else ""


# --- X: windows, mouse, keys, screenshots -----------------------------------------------------

def xdotool(*arguments):
    answer = run(["xdotool", *arguments], timeout=20)
    if answer.returncode != 0 and arguments[0] != "search":
        raise E2EFailure(f"xdotool {' '.join(arguments)}: {answer.stderr.decode(errors='replace')}")
    return answer.stdout.decode().split()


def x_windows_named(title):
    return xdotool("search", "--onlyvisible", "--name", f"^{title}$")


def click_at(x, y, button=1):
    xdotool("mousemove", "--sync", str(int(x)), str(int(y)))
    xdotool("click", str(button))


def keys(*names):
    xdotool("key", "--delay", "60", *names)


def type_text(text):
    xdotool("type", "--delay", "60", text)


def screenshot(folder, name):
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, name + ".png")
    taken = run(["import", "-window", "root", path], timeout=30)
    check(taken.returncode == 0 and os.path.getsize(path) > 0, f"screenshot {path}")
    return path


# --- AT-SPI ---------------------------------------------------------------------------------

def atspi():
    global _pyatspi
    if _pyatspi is None:
        import pyatspi  # after the environment points at this test's buses
        _pyatspi = pyatspi
    return _pyatspi


def _showing(accessible):
    states = accessible.getState()
    return states.contains(atspi().STATE_SHOWING) or states.contains(atspi().STATE_VISIBLE)


def top_windows(name=None):
    """Showing top-level windows of the program, optionally only those with this title."""
    found = []
    desktop = atspi().Registry.getDesktop(0)
    for application in desktop:
        if application is None or application.name != "keyhaven":
            continue
        for window in application:
            if window is not None and _showing(window) and (name is None or window.name == name):
                found.append(window)
    return found


def window(name, timeout=20.0):
    try:
        return wait_for(lambda: (top_windows(name) or [None])[0], f"the window '{name}'", timeout)
    except E2EFailure as failure:
        programs = [(p.pid, p.poll()) for w in _worlds for p in w.programs]
        output = [w.log_tail() for w in _worlds]
        raise E2EFailure(f"{failure}; windows over AT-SPI: {describe_windows()}; "
                         f"X windows named so: {x_windows_named(name)}; programs (pid, exit): {programs}; "
                         f"their output: {output}") from None


def describe_windows():
    try:
        return [(a.name, [(w.name, _showing(w)) for w in a]) for a in atspi().Registry.getDesktop(0) if a]
    except Exception as error:
        return f"unreadable ({error})"


def descendants(root, predicate, limit=None):
    """Depth-first search that does not walk into tables and lists (their cells are many)."""
    pyatspi = atspi()
    heavy = (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_LIST)
    found, stack = [], [root]
    while stack:
        node = stack.pop()
        if node is None:
            continue
        if node is not root and predicate(node):
            found.append(node)
            if limit and len(found) >= limit:
                break
        if node is root or node.getRole() not in heavy:
            stack.extend(reversed([node.getChildAtIndex(i) for i in range(node.childCount)]))
    return found


def control(root, name, role=None, showing=True):
    """The control with this accessible name (and role), failing when there is none."""
    def wanted(node):
        return (node.name == name and (role is None or node.getRole() == role)
                and (not showing or _showing(node)))
    return wait_for(lambda: (descendants(root, wanted, 1) or [None])[0], f"control '{name}' in '{root.name}'", 10)


def button(root, caption):
    return control(root, caption, atspi().ROLE_PUSH_BUTTON)


def press(accessible):
    """Presses a button the way a screen reader does (its default action)."""
    action = accessible.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("press", "Press", "click", "toggle", "Toggle"):
            action.doAction(i)
            return
    action.doAction(0)


def set_text(accessible, text):
    accessible.queryEditableText().setTextContents(text)
    wait_for(lambda: text_of(accessible) == text or accessible.queryText().characterCount == len(text),
             f"the text of '{accessible.name}' to be set")


def text_of(accessible):
    text = accessible.queryText()
    return text.getText(0, text.characterCount)


def centre(accessible):
    box = accessible.queryComponent().getExtents(atspi().DESKTOP_COORDS)
    return box.x + box.width // 2, box.y + box.height // 2


def click(accessible, button_number=1):
    click_at(*centre(accessible), button=button_number)


def labels(root):
    return [node.name for node in descendants(root, lambda n: n.getRole() == atspi().ROLE_LABEL)]


def focused_window_name():
    answer = run(["xdotool", "getwindowfocus", "getwindowname"], timeout=10)
    return answer.stdout.decode("utf-8", "replace").strip()


# --- message boxes and dialogs --------------------------------------------------------------

def message_boxes():
    pyatspi = atspi()
    return [w for w in top_windows() if w.getRole() in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG)
            and w.name not in (LOGIN_TITLE,)]


def message_box(timeout=20.0):
    """The one message box up now: (window, its texts)."""
    box = wait_for(lambda: (message_boxes() or [None])[0], "a message box", timeout)
    return box, [t for t in labels(box) if t]


def answer_message(expected_text, answer=None, caption=None, timeout=20.0):
    """Waits for a message box showing expected_text and presses its button answer (OK by default)."""
    answer = answer or OK
    def showing():
        for box in message_boxes():
            if expected_text in labels(box):
                return box
        return None
    try:
        box = wait_for(showing, f"the message '{expected_text}'", timeout)
    except E2EFailure:
        seen = [(b.name, labels(b)) for b in message_boxes()]
        raise E2EFailure(f"no message '{expected_text}'; message boxes up: {seen}")
    check(True, f"message '{expected_text}'")
    if caption is not None:
        check(box.name == caption, f"the message box's caption is '{caption}' (is '{box.name}')")
    press(button(box, answer))
    wait_for(lambda: box not in message_boxes(), f"the message '{expected_text}' to close")


# --- the program ----------------------------------------------------------------------------

# The first login of a run with the initial password brings the offer to set one's own.
_own_password_offer = {"pending": False}


def login(password, main_expected=True, erase=0, offer_screenshot=None):
    """Types the password into the login window with real keys and presses Enter, after erasing
    as many characters as the box still holds from a wrong attempt. The offer "设置管理密码" that
    follows the first login of a run with the initial password is answered "以后再说", after a
    screenshot when offer_screenshot names (folder, name)."""
    form = window(LOGIN_TITLE)
    control(form, "请输入管理密码：")
    # The password box exposes neither its text nor its focus; the window shows it the focus.
    wait_for(lambda: focused_window_name() == LOGIN_TITLE, "the login window to have the keyboard focus")
    if erase:
        keys("End", *(["BackSpace"] * erase))
    type_text(password)
    keys("Return")
    if not main_expected:
        return form
    main = window(MAIN_TITLE)
    if password == INITIAL_MASTER and _own_password_offer["pending"]:
        _own_password_offer["pending"] = False
        # A protected file brings no offer: its password is never the initial one.
        try:
            offer = wait_for(lambda: top_windows(OWN_PASSWORD_TITLE), "the offer", 5)[0]
        except E2EFailure:
            return main
        if offer_screenshot:
            screenshot(*offer_screenshot)
        press(button(offer, "以后再说"))
        wait_for(lambda: not top_windows(OWN_PASSWORD_TITLE), "the offer to close")
    return main


def login_status(form):
    """Text of the login window's status bar (its only label besides the prompt)."""
    return [t for t in labels(form) if t and t != "请输入管理密码："]


def main_window():
    return window(MAIN_TITLE)


def show_tab(main, name):
    # The tab does not report its selection; a control on its page shows when it is up.
    on_page = {"帐号管理": "搜索", "软件设置": "保存配置", "关于我们": "软件名称 钥匣个人版"}[name]
    click(control(main, name, atspi().ROLE_PAGE_TAB))
    wait_for(lambda: descendants(main, lambda n: n.name == on_page and _showing(n), 1), f"tab '{name}' shown")


# Qt's popup menus are not reachable over AT-SPI here, so a menu is opened with a real right
# click, seen as a new X window, and its item is chosen with the keyboard by position.
TRAY_MENU = ["检测更新", "显示窗口", "隐藏窗口", "退出程序"]
CATEGORY_MENU = ["添加分类", "修改分类", "删除选中分类(包含分类所有帐号信息)"]


def _visible_x_windows():
    return set(xdotool("search", "--onlyvisible", "--name", ""))


def _choose_from_popup(right_click, items, item):
    before = _visible_x_windows()
    right_click()
    wait_for(lambda: _visible_x_windows() - before, f"the menu with '{item}' to open")
    keys(*(["Down"] * (items.index(item) + 1)), "Return")


def tray_centre():
    tray = wait_for(lambda: x_windows_named(TRAY_TITLE), "the tray stand-in window")
    values = dict(part.split("=") for part in xdotool("getwindowgeometry", "--shell", tray[0]))
    return int(values["X"]) + int(values["WIDTH"]) // 2, int(values["Y"]) + int(values["HEIGHT"]) // 2


def tray_click():
    click_at(*tray_centre())


def tray_menu(item):
    """Right click on the tray stand-in and choose an item of its menu."""
    _choose_from_popup(lambda: click_at(*tray_centre(), button=3), TRAY_MENU, item)


def category_menu(listbox, item):
    _choose_from_popup(lambda: click(listbox, 3), CATEGORY_MENU, item)


def table_cells(table):
    """The grid's data rows as lists of (text, accessible)."""
    t = table.queryTable()
    rows = []
    for r in range(t.nRows):
        rows.append([(t.getAccessibleAt(r, c).name, t.getAccessibleAt(r, c)) for c in range(t.nColumns)])
    return rows


def grid_row_texts(table):
    return [[text for text, _ in row] for row in table_cells(table)]


def click_grid_cell(table, text):
    """A real click on the first cell showing text."""
    def find():
        for row in table_cells(table):
            for cell_text, cell in row:
                if cell_text == text and _showing(cell):
                    return cell
        return None
    cell = wait_for(find, f"a grid cell '{text}'")
    click(cell)


def list_items(listbox):
    return [listbox.getChildAtIndex(i) for i in range(listbox.childCount)]


def click_list_item(listbox, text):
    item = wait_for(lambda: next((i for i in list_items(listbox) if i.name == text), None),
                    f"the list item '{text}'")
    click(item)
    wait_for(lambda: item.getState().contains(atspi().STATE_SELECTED), f"the list item '{text}' selected")


def combos(main):
    """The search column chooser and the form's category box, in that order. Qt names a combo box
    by its current text, not by its accessible name, so they are told apart by their place."""
    found = descendants(main, lambda n: n.getRole() == atspi().ROLE_COMBO_BOX and _showing(n))
    if len(found) != 2:
        raise E2EFailure(f"expected two drop-down lists, found {[c.name for c in found]}")
    return found


def choose(combo, item):
    """Picks an item of a drop-down list with real keys: Home, then Down to its place."""
    pyatspi = atspi()
    lists = [combo.getChildAtIndex(i) for i in range(combo.childCount)]
    items = [item.name for lst in lists if lst.getRole() == pyatspi.ROLE_LIST for item in list_items(lst)]
    if item not in items:
        raise E2EFailure(f"'{item}' is not among {items}")
    click(combo)
    keys("Escape")  # the list opened by the click closes; the box keeps the focus
    keys("Home", *(["Down"] * items.index(item)))
    wait_for(lambda: combo.name == item, f"'{item}' chosen")


def exits(process, what, timeout=20.0):
    wait_for(lambda: process.poll() is not None, what, timeout)
    check(True, what)
    return process.returncode


# --- what the scenarios share ---------------------------------------------------------------

def add_category(main, name):
    listbox = control(main, "分类", atspi().ROLE_LIST)
    category_menu(listbox, "添加分类")
    prompt = window("请输入分类")
    set_text(control(prompt, "分类", atspi().ROLE_TEXT), name)
    press(button(prompt, OK))
    answer_message("分类添加成功.")
    wait_for(lambda: name in [i.name for i in list_items(listbox)], f"category '{name}' listed")
    return listbox


def set_password_field(main, password):
    """Unmasks the password box with its "显示" button, so it can be set like any edit, and masks it again."""
    press(button(main, "显示"))
    wait_for(lambda: descendants(main, lambda n: n.name == "隐藏" and _showing(n), 1), "the button '隐藏'")
    set_text(control(main, "密码", atspi().ROLE_TEXT), password)
    press(button(main, "隐藏"))
    wait_for(lambda: descendants(main, lambda n: n.name == "显示" and _showing(n), 1), "the button '显示'")


def add_record(main, title, address, account, password, note=""):
    pyatspi = atspi()
    set_text(control(main, "标题", pyatspi.ROLE_TEXT), title)
    set_text(control(main, "网址", pyatspi.ROLE_TEXT), address)
    set_text(control(main, "帐号", pyatspi.ROLE_TEXT), account)
    set_password_field(main, password)
    set_text(control(main, "备注", pyatspi.ROLE_TEXT), note)
    press(button(main, "添加"))
    answer_message("添加成功.")


def grid(main):
    return control(main, "帐号列表", atspi().ROLE_TABLE)


def status_texts(main):
    """The three panels of the main window's status bar."""
    bar = descendants(main, lambda n: n.getRole() == atspi().ROLE_FRAME and n.childCount == 3, 1)
    if not bar:
        raise E2EFailure("no status bar with three panels")
    return [bar[0].getChildAtIndex(i).name for i in range(3)]


def scenario(run_steps):
    """Runs one scenario with the program paths from the command line; exit status 1 on failure."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--keyhaven", required=True)
    parser.add_argument("--newdb", required=True)
    parser.add_argument("--receiver")
    parser.add_argument("--screenshots", required=True)
    parser.add_argument("--layout", default="default")
    parser.add_argument("--wait-clearing", action="store_true")
    options = parser.parse_args()
    world = World(options.keyhaven, options.newdb)
    try:
        run_steps(world, options)
    except Exception:
        report_failure(world, options, screenshot)
        sys.exit(1)
    print("PASS", flush=True)


def report_failure(world, options, take_screenshot):
    """What a failed scenario leaves for the reader: the trace, the screen and the programs' output."""
    import traceback
    traceback.print_exc()
    try:
        take_screenshot(options.screenshots, "failed-" + os.path.basename(sys.argv[0]).removesuffix(".py"))
    except Exception as error:
        print(f"no screenshot of the failure: {error}")
    print("program output:\n" + world.log_tail())


# --- a Wayland desktop run by the user keyhaven-e2e -------------------------------------------
# Compositors refuse root or need a home of their own: as root such a test runs itself as TEST_USER
# (made when it is missing) from a world-readable copy of what it runs; as any other user it is skipped.

TEST_USER = "keyhaven-e2e"
SKIPPED = 77  # ctest's SKIP_RETURN_CODE
FILL_ACCOUNT = "".join(chr(c) for c in range(0x20, 0x7F))
FILL_PASSWORD = "钥匣密码，全角Ａ１！zhong"
FILL_CATEGORY = "Wayland"
FILL_TITLE = "虚拟键盘测试"
CLEARING_SECONDS = 10  # the shortest a user can choose


def as_test_user(why_not_root):
    """The command line's options once the calling script runs as TEST_USER in a session bus of its own;
    as root it runs so and this exits with its code; as another user this exits skipped."""
    parser = argparse.ArgumentParser()
    for name in ("--keyhaven", "--newdb", "--cli", "--receiver", "--screenshots"):
        parser.add_argument(name, required=True)
    parser.add_argument("--as-test-user", action="store_true")
    options = parser.parse_args()
    if os.geteuid() == 0:
        sys.exit(_run_as_test_user(options))
    if not options.as_test_user and pwd.getpwuid(os.geteuid()).pw_name == TEST_USER:
        sys.exit(subprocess.run(["dbus-run-session", "--", sys.executable, *sys.argv, "--as-test-user"]).returncode)
    if not options.as_test_user:
        skip(f"{why_not_root}, and only root can run this test as the user {TEST_USER}")
    return options


def skip(why):
    print(f"SKIPPED: {why}", flush=True)
    sys.exit(SKIPPED)


def _run_as_test_user(options):
    try:
        user = pwd.getpwnam(TEST_USER)
    except KeyError:
        subprocess.run(["useradd", "--system", "--no-create-home", "--shell", "/usr/sbin/nologin", TEST_USER],
                       check=True)
        user = pwd.getpwnam(TEST_USER)
    script = os.path.abspath(sys.argv[0])
    copy = tempfile.mkdtemp(prefix="keyhaven-" + os.path.basename(script).removesuffix(".py") + "-")
    try:
        os.chmod(copy, 0o755)
        here = os.path.dirname(os.path.abspath(__file__))
        for path in (script, __file__, os.path.join(here, "autofill.py"), options.keyhaven, options.newdb,
                     options.cli, options.receiver):
            shutil.copy2(path, copy)
            os.chmod(os.path.join(copy, os.path.basename(path)), 0o755)
        screenshots, home = os.path.join(copy, "screenshots"), os.path.join(copy, "home")
        for folder in (screenshots, home):  # a desktop's services write into the home
            os.makedirs(folder)
            os.chown(folder, user.pw_uid, user.pw_gid)
        named = lambda path: os.path.join(copy, os.path.basename(path))
        environment = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "LANG": "C.UTF-8", "HOME": home,
                       "PYTHONDONTWRITEBYTECODE": "1"}
        command = ["setpriv", f"--reuid={user.pw_uid}", f"--regid={user.pw_gid}", "--init-groups",
                   "dbus-run-session", "--", sys.executable, named(script), "--keyhaven", named(options.keyhaven),
                   "--newdb", named(options.newdb), "--cli", named(options.cli), "--receiver",
                   named(options.receiver), "--screenshots", screenshots, "--as-test-user"]
        result = subprocess.run(command, env=environment, cwd=copy, stdin=subprocess.DEVNULL)
        for shot in glob.glob(os.path.join(screenshots, "*.png")):
            os.makedirs(options.screenshots, exist_ok=True)
            shutil.copy(shot, options.screenshots)
        return result.returncode
    finally:
        shutil.rmtree(copy, ignore_errors=True)


def on_desktop(options, runtime, desktop_log, run_steps, take_screenshot=screenshot):
    """Runs the steps in a world of their own on the desktop started in runtime; a failure shows the
    screen, the programs' output and the desktop's log, and exits 1. The desktop's folder goes at the end."""
    try:
        world = World(options.keyhaven, options.newdb)
        try:
            run_steps(world, options)
        except Exception:
            print(f"program exit codes: {[process.poll() for process in world.programs]}")
            report_failure(world, options, take_screenshot)
            with open(desktop_log, errors="replace") as log:
                print(f"{os.path.basename(desktop_log)}:\n" + log.read()[-3000:])
            sys.exit(1)
    finally:
        _end_all()  # the programs and the desktop end before their folder goes
        shutil.rmtree(runtime, ignore_errors=True)
    print("PASS", flush=True)


def import_fill_record(world, cli):
    """The record, imported with keyhaven-cli, and keystroke style chosen in Config.ini."""
    table = os.path.join(world.root, "records.csv")
    with open(table, "w", newline="", encoding="utf-8") as file:
        rows = csv.writer(file, quoting=csv.QUOTE_ALL)
        rows.writerow(["Group", "Title", "Username", "Password", "URL", "Notes"])
        rows.writerow([f"Root/{FILL_CATEGORY}", FILL_TITLE, FILL_ACCOUNT, FILL_PASSWORD, "https://example.com", ""])
    imported = subprocess.run([cli, "--db", world.database, "import", table, "--yes"],
                              input=(INITIAL_MASTER + "\n").encode(), capture_output=True, timeout=60)
    check(imported.returncode == 0, f"keyhaven-cli imports the record: {imported.stderr.decode(errors='replace')}")
    with open(os.path.join(world.folder, "Config.ini"), "wb") as config:
        config.write(f"[软件配置]\r\n粘贴式=0\r\n非粘贴式=1\r\n剪贴板清空秒数={CLEARING_SECONDS}\r\n".encode("gbk"))


def pick_fill_record(main):
    click_list_item(control(main, "分类", atspi().ROLE_LIST), FILL_CATEGORY)
    click_grid_cell(grid(main), FILL_TITLE)
    wait_for(lambda: text_of(control(main, "帐号", atspi().ROLE_TEXT)) == FILL_ACCOUNT, "the record picked")


def filled(world, receiver, platform, which, expected, style="keystroke style"):
    """Starts the receiver on Qt's platform, waits for its focus, runs `keyhaven --fill which`;
    expected None: the program is disarmed, so the request fails and nothing arrives."""
    out = os.path.join(world.root, f"received-{platform}-{which}-{len(os.listdir(world.root))}")
    process = spawn([receiver, out], env=dict(os.environ, QT_QPA_PLATFORM=platform),
                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wait_for(lambda: os.path.exists(out + ".ready"), f"the {platform} receiver to have the focus")
        asked = run([world.program, "--fill", which], timeout=60)
        if expected is None:
            check(asked.returncode == 1, f"a disarmed program refuses --fill {which}: {asked.stderr!r}")
            time.sleep(1)  # room for keys that should not come
            check(not os.path.exists(out), f"{platform} window: a disarmed program types nothing")
            return
        check(asked.returncode == 0, f"keyhaven --fill {which} asks the running program: {asked.stderr!r}")
        wait_for_file_text(out, expected, f"{platform} window, {style}: --fill {which} enters it exactly", timeout=15)
    finally:
        _end(process)
