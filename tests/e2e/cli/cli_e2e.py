"""keyhaven-cli end to end: every command a script uses, on temporary databases, with the master
password on standard input; the clipboard under Xvfb, read back with xclip."""

import argparse
import fcntl
import os
import pty
import select
import signal
import subprocess
import sys
import tempfile
import termios
import time

DATABASE_KEY = "kv7Rq2mZx9Tb"
MASTER = "123456"
CATEGORY = "工作邮箱"
SECRET = "S3cret!pw"

parser = argparse.ArgumentParser()
parser.add_argument("--cli", required=True)
parser.add_argument("--newdb", required=True)
options = parser.parse_args()
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


def cli(database, *arguments, lines=(MASTER,), environment=None):
    """Runs one command without a terminal: the master password and answers come as lines."""
    stdin = "".join(line + "\n" for line in lines)
    return subprocess.run([options.cli, "--db", database, *arguments], input=stdin.encode(), capture_output=True,
                          timeout=60, env=environment, start_new_session=True)


def on_terminal(command, dialogue=(("管理密码", MASTER + "\n"),)):
    """Runs a program on a terminal of its own, typing each answer once its prompt has shown; gives
    the exit code, everything the terminal showed and whether the terminal echoes afterwards."""
    leader, follower = pty.openpty()
    process = subprocess.Popen(command, stdin=follower, stdout=follower, stderr=follower, start_new_session=True,
                               preexec_fn=lambda: fcntl.ioctl(0, termios.TIOCSCTTY, 0))
    shown, searched = b"", 0

    def read_until(prompt):
        """Up to the prompt, or without one until the program has ended and said everything."""
        nonlocal shown
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            ready = select.select([leader], [], [], 0.2)[0]
            if ready:
                shown += os.read(leader, 4096)
            if prompt is not None and prompt in shown[searched:] or prompt is None and not ready and \
                    process.poll() is not None:
                return

    for prompt, keys in dialogue:
        read_until(prompt.encode())
        searched = len(shown)
        os.write(leader, keys.encode())
    read_until(None)
    echoes = bool(termios.tcgetattr(follower)[3] & termios.ECHO)
    os.close(leader)
    os.close(follower)
    return process.wait(30), shown.decode("utf-8", "replace"), echoes


def out(result):
    return result.stdout.decode()


def err(result):
    return result.stderr.decode()


def sql(database, statement):
    script = f"PRAGMA key='{DATABASE_KEY}';\n.mode list\n{statement};\n"
    result = subprocess.run(["sqlcipher", "-batch", database], input=script.encode(), capture_output=True, timeout=30)
    return [line for line in result.stdout.decode().splitlines() if line != "ok"]


def new_database(folder, *protect, master=MASTER):
    database = os.path.join(folder, "_.udb")
    subprocess.run([options.newdb, *protect, "--master-stdin", database], input=(master + "\n").encode(),
                   check=True, capture_output=True)
    return database


work = tempfile.mkdtemp(prefix="keyhaven-cli-")
db = new_database(work)
# Categories are made in the window; here the category's first record goes in directly.
sql(db, f"Insert into data (分类,标题,网址,帐号,密码) values ('{CATEGORY}','标题','http://','账号','')")
# The clipboard's time, in Config.ini's code page.
with open(os.path.join(work, "Config.ini"), "wb") as config:
    config.write("[软件配置]\r\n剪贴板清空秒数=15\r\n".encode("gbk"))

# --- add, with the window's checks ---
added = cli(db, "add", lines=(MASTER, CATEGORY.lower(), "公司邮箱", "https://mail.example", "alice", SECRET, "备注一"))
check(added.returncode == 0 and out(added).strip() == "添加成功.", f"add stores a record: {out(added)}{err(added)}")
unknown = cli(db, "add", lines=(MASTER, "没有这个分类", "t", "", "a", "p", ""))
check(unknown.returncode == 1 and err(unknown).startswith("请选择分类.\n") and CATEGORY in err(unknown),
      f"add refuses a category that does not exist and names the categories: {err(unknown)}")
untitled = cli(db, "add", lines=(MASTER, CATEGORY, "", "", "a", "p", ""))
check(untitled.returncode == 1 and err(untitled).strip() == "请填写标题.", f"add without a title: {err(untitled)}")
generated = cli(db, "add", "--generate", "24", lines=(MASTER, CATEGORY, "私人邮箱", "", "bob", "note"))
check(generated.returncode == 0, f"add --generate reads no password line: {err(generated)}")
stored = sql(db, "select count(*) from data")
check(stored == ["3"], f"three records are stored: {stored}")

# --- ls, show, search ---
listed = cli(db, "ls")
rows = [line.split("\t") for line in out(listed).splitlines()]
check(listed.returncode == 0 and len(rows) == 3 and all(len(row) == 4 for row in rows),
      f"ls prints number, category, title, account per record, no header: {rows}")
check([CATEGORY, "公司邮箱", "alice"] in [row[1:] for row in rows], "ls shows the added record")
number = next(row[0] for row in rows if row[2] == "公司邮箱")
categories = cli(db, "ls", "--categories")
check(out(categories) == f"{CATEGORY}\t3\n", f"ls --categories counts: {out(categories)!r}")
check(cli(db, "ls", "没有这个分类").returncode == 2, "ls of an empty category exits 2")

shown = cli(db, "show", "公司")
check(shown.returncode == 0 and "密码: ******\n" in out(shown) and SECRET not in out(shown) and
      "备注: 备注一\n" in out(shown), f"show masks the password: {out(shown)}")
revealed = cli(db, "show", number, "--reveal")
check(revealed.returncode == 0 and f"密码: {SECRET}\n" in out(revealed), "show NUMBER --reveal shows the password")
several = cli(db, "show", "邮箱")
check(several.returncode == 2 and len(out(several).splitlines()) == 2, f"an ambiguous title lists both: {out(several)}")
check(cli(db, "show", "不存在").returncode == 2, "show of nothing exits 2")

found = cli(db, "search", "--field", "备注", "备注一")
check(found.returncode == 0 and out(found).split("\t")[2] == "公司邮箱", f"search in deciphered notes: {out(found)}")
by_account = cli(db, "search", "bo", "--field", "帐号")
check(by_account.returncode == 0 and "私人邮箱" in out(by_account) and "公司邮箱" not in out(by_account),
      "search takes its option after the word")
check(cli(db, "search", "--field", "密码", "x").returncode == 2, "search in an unoffered column is a usage error")
nothing = cli(db, "search", "zzz")
check(nothing.returncode == 2 and err(nothing).strip() == "对不起没有找到相关信息！", "search without hits exits 2")

# --- exit codes of the command line itself ---
wrong = cli(db, "ls", lines=("654321",))
check(wrong.returncode == 1 and "密码错误" in err(wrong) and out(wrong) == "", "a wrong password: one try, exit 1")
check(cli(db, "frobnicate").returncode == 2, "an unknown command exits 2")
check(cli(db, "show").returncode == 2, "a missing argument exits 2")
check(cli(os.path.join(work, "nothing.udb"), "ls").returncode == 1, "a missing database file exits 1")
with open("/dev/zero", "rb") as zero:
    endless = subprocess.run([options.cli, "--db", db, "ls"], stdin=zero, capture_output=True, timeout=30)
check(endless.returncode == 1 and "超过 4 KiB" in err(endless), f"an endless password line is refused: {err(endless)}")
password = cli(db, "generate", "20", "--no-symbols", lines=())
check(password.returncode == 0 and len(out(password).strip()) == 20 and out(password).strip().isalnum(),
      f"generate LENGTH --no-symbols: {out(password)!r}")

# --- clip: the secret hint, one use counted, cleared at Ctrl+C ---
uses_before = sql(db, f"select 统计 from data where 编号={number}")
clip = subprocess.Popen([options.cli, "--db", db, "clip", number], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                        stderr=subprocess.PIPE, start_new_session=True)
clip.stdin.write((MASTER + "\n").encode())
clip.stdin.close()
said = clip.stdout.readline().decode()
check(said.startswith("已复制密码") and "15 秒" in said and SECRET not in said,
      f"clip names the field and the configured time, never the value: {said!r}")


def clipboard(*what):
    result = subprocess.run(["xclip", "-o", "-selection", "clipboard", *what], capture_output=True, timeout=10)
    return result.stdout.decode() if result.returncode == 0 else None


check(clipboard() == SECRET, "the password is on the clipboard")
check("x-kde-passwordManagerHint" in (clipboard("-t", "TARGETS") or ""), "with the secret hint")
check(sql(db, f"select 统计 from data where 编号={number}") == [str(int(uses_before[0]) + 1)], "one use is counted")
time.sleep(0.3)
check(clip.poll() is None, "clip stays in the foreground")
with open(f"/proc/{clip.pid}/limits") as limits:
    core = next(line for line in limits if line.startswith("Max core file size")).split()
check(core[4:6] == ["0", "0"], f"keyhaven-cli writes no core file: {core}")
clip.send_signal(signal.SIGINT)
check(clip.wait(10) == 0, "Ctrl+C ends clip with exit 0")
check(not clipboard(), "the clipboard is empty afterwards")
headless = dict(os.environ, DISPLAY=":97")  # no server answers there
no_display = cli(db, "clip", number, environment=headless)
check(no_display.returncode == 1 and "没有图形会话" in err(no_display), "clip without a graphical session exits 1")

# --- control characters are escaped on a terminal, exact through a pipe ---
sql(db, f"update data set 标题='标题\x1b[2J\\' where 编号={number}")
code, shown, _ = on_terminal([options.cli, "--db", db, "show", number])
check(code == 0 and "标题: 标题\\x1b[2J\\\\\r\n" in shown and "\x1b" not in shown,
      f"show on a terminal escapes the escape character and the backslash: {shown!r}")
check("标题\x1b[2J\\\n" in out(cli(db, "show", number)), "show into a pipe gives the stored title unchanged")

# --- export asks before it replaces a file ---
existing = os.path.join(work, "existing.csv")
with open(existing, "w") as f:
    f.write("keep me\n")
code, shown, _ = on_terminal([options.cli, "--db", db, "export", existing],
                             dialogue=(("管理密码", MASTER + "\n"), ("要替换它吗", "n\n")))
check(code == 1 and open(existing).read() == "keep me\n", f"export keeps an existing file when told no: {shown!r}")
with open(os.path.join(work, ".~export-ab12CD"), "w") as f:
    f.write("what a killed export left\n")
check(cli(db, "export", existing, "--yes").returncode == 0 and open(existing).read() != "keep me\n",
      "export --yes replaces it")
check(not [name for name in os.listdir(work) if name.startswith(".~")],
      "the run removed what a killed export left in the database's folder, and left nothing itself")

# --- rm: confirmed with --yes; with no terminal to ask on, a usage error ---
check(cli(db, "rm", number).returncode == 2, "rm without a terminal or --yes exits 2")
removed = cli(db, "rm", number, "--yes")
check(removed.returncode == 0 and sql(db, f"select count(*) from data where 编号={number}") == ["0"],
      "rm --yes deletes the record")

# --- history: rm and edit keep what they replace; restore brings it back ---
trash = [line.split("\t") for line in out(cli(db, "trash")).splitlines()]
check(len(trash) == 1 and trash[0][3] == "标题\x1b[2J\\", f"trash lists the deleted record: {trash}")
check(cli(db, "restore", "--deleted", trash[0][0], "--yes").returncode == 0 and
      sql(db, f"select count(*) from data where 编号={number}") == ["1"], "restore --deleted brings it back, same number")
cli(db, "edit", number, lines=(MASTER, "", "", "", "", "Changed9pw", ""))
history = cli(db, "history", number, "--reveal")
check(history.returncode == 0 and f"密码: {SECRET}\n" in out(history), f"history shows the old password: {out(history)}")
version = out(history).splitlines()[0].split("\t")[0].removeprefix("版本 ")
check(cli(db, "restore", number, "--version", version, "--yes").returncode == 0 and
      f"密码: {SECRET}\n" in out(cli(db, "show", number, "--reveal")), "restore --version puts the old password back")

# --- a wrong password changes no byte of a file whose key is not drawn yet ---
untouched_folder = tempfile.mkdtemp(prefix="keyhaven-cli-untouched-")
untouched = new_database(untouched_folder)
with open(untouched, "rb") as f:
    before = f.read()
cli(untouched, "ls", lines=("654321",))
with open(untouched, "rb") as f:
    check(f.read() == before, "a wrong password leaves the file byte for byte as it was")

# --- keyhaven-newdb: the window's rule for a protected file's password, and its memory ---
for weak in ("Short12", "123456"):
    made = subprocess.run([options.newdb, "--protect", "--master-stdin", os.path.join(untouched_folder, "weak.udb")],
                          input=(weak + "\n").encode(), capture_output=True)
    check(made.returncode == 1 and b"at least 8" in made.stderr, f"newdb --protect refuses {weak}: {made.stderr!r}")
starved = subprocess.run(["prlimit", "--as=200000000", options.newdb, "--protect", "--master-stdin",
                          os.path.join(untouched_folder, "starved.udb")], input=b"Strong2026pw\n", capture_output=True)
check(starved.returncode == 1 and "需要约 256 MB 可用内存" in starved.stderr.decode(),
      f"without the derivation's memory newdb says how much it needs: {starved.stderr.decode()!r}")

asked = os.path.join(untouched_folder, "asked.udb")
code, shown, echoes = on_terminal([options.newdb, "--ask-master", asked], dialogue=(("Master password: ", "\x03"),))
check(code != 0 and echoes and not os.path.exists(asked), f"Ctrl+C at newdb's prompt gives the echo back: {shown!r}")

# --- a protected file opens from the master password alone ---
protected_folder = tempfile.mkdtemp(prefix="keyhaven-cli-protected-")
protected = new_database(protected_folder, "--protect", master="Protected2026")
check(cli(protected, "ls", lines=("Protected2026",)).returncode == 0, "ls opens a protected file")
check(cli(protected, "ls").returncode == 1, "another password does not open it")

subprocess.run(["rm", "-rf", work, protected_folder, untouched_folder])
if failures:
    print(f"{len(failures)} checks failed", file=sys.stderr)
    sys.exit(1)
