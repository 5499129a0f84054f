"""A database file protected with the master password: turned on on the advanced tab, then after
a restart opened from the login, a record picked and auto-filled, the file compacted, and after
another restart opened again. The program's own key costs are used throughout."""

import autofill
import keyhaven_e2e as k

ACCOUNT = "protected.user@example.com"
PASSWORD = "Pr0tected-pw"
TITLE = "加密文件测试"
SQLITE_HEADER = b"SQLite format 3\0"


def open_advanced_tab(main):
    k.click(k.control(main, "高级设置", k.atspi().ROLE_PAGE_TAB))
    k.wait_for(lambda: k.descendants(main, lambda n: n.name in ("用管理密码加密", "取消加密") and k._showing(n), 1),
               "the advanced tab shown")


def restart_and_login(world, program):
    k.tray_menu("退出程序")
    k.exits(program, "the program ends from the tray menu")
    program = world.start()
    form = k.login("wrong1", main_expected=False)
    k.wait_for(lambda: "密码错误...1次" in k.login_status(form), "a wrong password counts as a failed attempt")
    return program, k.login(k.INITIAL_MASTER, erase=len("wrong1"))


def header(world):
    with open(world.database, "rb") as database:
        return database.read(16)


def opens_with_fixed_password(world):
    try:
        k.sql(world.database, "select count(*) from data")
        return True
    except k.E2EFailure:
        return False


def listed(main):
    return any(TITLE in row for row in k.grid_row_texts(k.grid(main)))


def steps(world, options):
    program = world.start()
    main = k.login(k.INITIAL_MASTER)
    listbox = k.add_category(main, "加密分类")
    k.click_list_item(listbox, "加密分类")
    k.add_record(main, TITLE, "https://protected.example.com", ACCOUNT, PASSWORD)

    open_advanced_tab(main)
    k.screenshot(options.screenshots, "advanced-tab-unprotected")
    k.press(k.button(main, "用管理密码加密"))
    k.wait_for(lambda: k.focused_window_name() == "文件保护", "the master password prompt")
    k.type_text(k.INITIAL_MASTER)
    k.keys("Return")
    k.answer_message("管理密码仍是 123456 或短于 8 个字符, 加密后的文件也容易被猜出.\n仍要加密吗?", k.YES)
    k.answer_message("用管理密码加密数据库文件吗?\n忘记管理密码后, 任何人都无法恢复数据.", k.YES)
    k.answer_message("也用管理密码加密文件夹中已有的备份吗?", k.YES)
    k.answer_message("数据库文件和 1 个备份已用管理密码加密.")  # the day's backup
    k.wait_for(lambda: k.descendants(main, lambda n: n.name == "取消加密" and k._showing(n), 1),
               "the button turns into '取消加密'")
    k.screenshot(options.screenshots, "advanced-tab-protected")
    k.check(header(world) != SQLITE_HEADER, "the protected file is no plain database")
    k.check(not opens_with_fixed_password(world), "the fixed database password no longer opens it")

    program, main = restart_and_login(world, program)
    k.click_list_item(k.control(main, "分类", k.atspi().ROLE_LIST), "加密分类")
    table = k.grid(main)
    k.click_grid_cell(table, TITLE)
    k.wait_for(lambda: k.text_of(k.control(main, "帐号", k.atspi().ROLE_TEXT)) == ACCOUNT, "the record picked")
    autofill.delivered(world, options.receiver, "ctrl+Right", PASSWORD, "Ctrl+→ enters the protected record's password")

    k.show_tab(main, "软件设置")
    k.press(k.button(main, "压缩修复"))
    k.answer_message("数据库压缩完成.")

    program, main = restart_and_login(world, program)
    k.wait_for(lambda: listed(main), "the compacted file opens from the password with its record")
    k.check(not opens_with_fixed_password(world), "the compacted file stays protected")
    k.tray_menu("退出程序")
    k.exits(program, "the program ends")


if __name__ == "__main__":
    k.scenario(steps)
