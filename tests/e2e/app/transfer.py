"""Accounts brought in from a browser's CSV export and taken out again, in the real program: the
file dialogs, the confirmation, the warning before the export, the files and the backups."""

import os
import time

import keyhaven_e2e as k

BROWSER_EXPORT = ("name,url,username,password,note\n"
                  "邮箱,https://mail.example.com/login,alice,Mail-pw1,备用邮箱\n"
                  ",https://shop.example.com/,bob,Shop-pw2,\n")


def open_advanced_tab(main):
    k.click(k.control(main, "高级设置", k.atspi().ROLE_PAGE_TAB))
    k.wait_for(lambda: k.descendants(main, lambda n: n.name == "导入CSV..." and k._showing(n), 1),
               "the advanced tab shown")


def choose_file(caption, path):
    """Types the path into the file dialog that has the focus and accepts it."""
    k.wait_for(lambda: k.focused_window_name() == caption, f"the file dialog '{caption}'")
    dialog = k.window(caption)
    k.type_text(path)
    # The name box may offer completions first; a second Enter then accepts the dialog.
    for _ in range(3):
        k.keys("Return")
        time.sleep(0.7)
        if dialog not in k.top_windows():
            return
    raise k.E2EFailure(f"the file dialog '{caption}' did not take {path}")


def status(main, expected):
    k.wait_for(lambda: k.status_texts(main)[0] == expected, f"the status bar says '{expected}'")


def steps(world, options):
    world.start()
    main = k.login(k.INITIAL_MASTER)
    k.check(len(world.backups("每日备份_bak_*_.udb")) == 1, "the day's first login takes the daily backup")

    source = os.path.join(world.home, "chrome-passwords.csv")
    with open(source, "w", encoding="utf-8") as export:
        export.write(BROWSER_EXPORT)
    open_advanced_tab(main)
    k.screenshot(options.screenshots, "main_advanced_tab_transfer")
    k.press(k.button(main, "导入CSV..."))
    choose_file("导入CSV", source)
    k.answer_message("文件格式: Chrome/Chromium\n将添加 2 条记录, 1 个新分类.\n现在导入吗?", k.YES)
    status(main, "已导入 2 条记录.")
    k.check(k.sql(world.database, "select 分类,标题,网址,帐号 from data order by 编号") ==
            [["浏览器导入", "邮箱", "https://mail.example.com/login", "alice"],
             ["浏览器导入", "shop.example.com", "https://shop.example.com/", "bob"]],
            "the rows are records of the category 浏览器导入, a missing title taken from the address")
    k.check(len(world.backups("导入前备份_bak_*_.udb")) == 1, "a backup before the import")

    target = os.path.join(world.home, "out.csv")
    k.press(k.button(main, "导出CSV..."))
    k.wait_for(lambda: k.focused_window_name() == "导出CSV", "the master password prompt")
    k.type_text(k.INITIAL_MASTER)
    k.keys("Return")
    k.answer_message("导出的文件包含明文密码, 请妥善保管并在用完后删除.", k.YES)
    choose_file("导出CSV", target)
    status(main, "已导出 2 条记录.")
    with open(target, encoding="utf-8") as written:
        lines = written.read().split("\n")
    k.check(lines[0] == '"Group","Title","Username","Password","URL","Notes","TOTP","Icon","Last Modified","Created"',
            f"the export starts with the header its readers know: {lines[0]}")
    k.check('"Root/浏览器导入","邮箱","alice","Mail-pw1","https://mail.example.com/login","备用邮箱","","0","",""' in lines,
            "the export holds the password and the note in plain text")
    k.check(os.stat(target).st_mode & 0o077 == 0, "the export is readable by its owner only")


if __name__ == "__main__":
    k.scenario(steps)
