"""A user's life with the program: first login, a category and records, a copied password,
locking through the tray and unlocking, saving the settings, changing the master password (the
program ends), logging in again with the new one, compacting, and three wrong passwords that end
the program. Every step is checked in the files as well."""

import glob
import os

import keyhaven_e2e as k

CATEGORY = "家庭账户"
RECORDS = [("网上银行", "https://bank.example.com", "family01", "Bank9Safe", "柜台电话 95588"),
           ("视频会员", "https://video.example.com", "family02", "Vid+eo(1)", "")]
NEW_MASTER = "Abc789xyz"


def read_config(world):
    with open(os.path.join(world.folder, "Config.ini"), "rb") as f:
        return f.read().decode("gbk")


def type_into(edit, text):
    """A real click into the edit and real keys."""
    k.click(edit)
    k.type_text(text)
    k.wait_for(lambda: k.text_of(edit) == text, f"'{text}' typed into '{edit.name}'")


def steps(world, options):
    pyatspi = k.atspi()
    initial_cipher = k.master_cipher(world.newdb, k.INITIAL_MASTER, world.root)
    k.check(k.sql(world.database, "select 密码 from Pass") == [[initial_cipher]],
            "the fresh database holds the initial master password")

    # First start and login; a category with records.
    program = world.start()
    main = k.login(k.INITIAL_MASTER)
    listbox = k.add_category(main, CATEGORY)
    k.click_list_item(listbox, CATEGORY)
    for record in RECORDS:
        k.add_record(main, *record)
    stored = k.sql(world.database, f"select 标题, 帐号 from data where 分类='{CATEGORY}' order by 编号")
    k.check(stored == [["标题", "账号"]] + [[r[0], r[2]] for r in RECORDS], f"the records are stored: {stored}")

    # Copy a password and read it from the clipboard.
    table = k.grid(main)
    k.click_grid_cell(table, RECORDS[1][0])
    k.wait_for(lambda: k.text_of(k.control(main, "帐号", pyatspi.ROLE_TEXT)) == RECORDS[1][2], "the record picked")
    k.press(k.button(main, "复制密码"))
    k.wait_for(lambda: k.clipboard() == RECORDS[1][3], "the copied password on the clipboard")
    k.check(True, "xclip reads the copied password")

    # Lock through the tray menu and unlock through the login window.
    k.tray_menu("隐藏窗口")
    k.wait_for(lambda: not k.x_windows_named(k.MAIN_TITLE), "the main window to hide")
    k.check(not k.x_windows_named(k.LOGIN_TITLE), "hiding shows no login window yet")
    k.tray_menu("显示窗口")
    k.wait_for(lambda: k.x_windows_named(k.LOGIN_TITLE), "the login window instead of the main window")
    k.check(not k.x_windows_named(k.MAIN_TITLE), "the locked main window stays hidden")
    main = k.login(k.INITIAL_MASTER)
    k.check(bool(k.x_windows_named(k.MAIN_TITLE)), "the right password shows the main window again")

    # Save the paste style.
    k.show_tab(main, "软件设置")
    paste = k.control(main, "帐号密码粘贴式", pyatspi.ROLE_RADIO_BUTTON)
    k.click(paste)
    k.wait_for(lambda: paste.getState().contains(pyatspi.STATE_CHECKED), "paste style chosen")
    k.press(k.button(main, "保存配置"))
    k.answer_message("配置保存成功！")
    config = read_config(world)
    k.check("[软件配置]" in config and "粘贴式=1" in config.splitlines() and "非粘贴式=0" in config.splitlines(),
            f"Config.ini holds the paste style: {config!r}")

    # Change the master password; the program ends by itself.
    k.set_text(k.control(main, "原始密码", pyatspi.ROLE_TEXT), k.INITIAL_MASTER)
    type_into(k.control(main, "请输入密码", pyatspi.ROLE_TEXT), NEW_MASTER)
    type_into(k.control(main, "确认密码", pyatspi.ROLE_TEXT), NEW_MASTER)
    k.press(k.button(main, "确定"))
    k.answer_message("密码设置成功,请重新登录钥匣.")
    k.exits(program, "the program ends after the master password change")
    k.check(k.clipboard() == "", "the clipboard is empty after the program ended")
    new_cipher = k.master_cipher(world.newdb, NEW_MASTER, world.root)
    k.check(new_cipher != initial_cipher and k.sql(world.database, "select 密码 from Pass") == [[new_cipher]],
            "the Pass row holds the new master password's cipher")
    k.check(k.sql(world.database, f"select count(*) from data where 分类='{CATEGORY}'") == [["3"]],
            "the records are still there")
    backups = world.backups("修改密码前备份_bak_*_.udb")
    k.check(len(backups) == 1, f"a backup before the change: {os.listdir(world.folder)}")
    k.check(k.sql(backups[0], "select 密码 from Pass") == [[initial_cipher]], "the backup holds the old master password")
    k.check(k.sql(backups[0], f"select count(*) from data where 分类='{CATEGORY}'") == [["3"]],
            "the backup holds the records")

    # Start again: the old password is refused, the new one opens.
    program = world.start()
    form = k.login(k.INITIAL_MASTER, main_expected=False)
    k.wait_for(lambda: "密码错误...1次" in k.login_status(form), "the status bar to read '密码错误...1次'")
    k.check(True, "the old master password is refused with '密码错误...1次'")
    k.check(not k.x_windows_named(k.MAIN_TITLE), "no main window after the wrong password")
    keys_before = k.focused_window_name()
    k.check(keys_before == k.LOGIN_TITLE, "the login window keeps the focus")
    main = k.login(NEW_MASTER, erase=len(k.INITIAL_MASTER))  # the wrong password stays in the box
    k.check(bool(k.x_windows_named(k.MAIN_TITLE)), "the new master password opens the main window")
    k.show_tab(main, "软件设置")
    k.check(k.control(main, "帐号密码粘贴式", pyatspi.ROLE_RADIO_BUTTON).getState().contains(pyatspi.STATE_CHECKED),
            "the saved paste style is chosen at start")

    # Compact from the settings tab.
    k.press(k.button(main, "压缩修复"))
    k.answer_message("数据库压缩完成.")
    k.check(k.sql(world.database, f"select 标题 from data where 分类='{CATEGORY}' order by 编号")
            == [["标题"]] + [[r[0]] for r in RECORDS], "the compacted file holds the records")
    k.check(k.sql(world.database, "select 密码 from Pass") == [[new_cipher]], "the compacted file keeps the master password")
    k.check(not glob.glob(os.path.join(world.folder, "*.tmp*")), "compaction leaves no temporary file beside the program")

    # Lock again; two more wrong passwords make three in this run, and the program ends.
    k.show_tab(main, "帐号管理")
    k.tray_menu("隐藏窗口")
    k.wait_for(lambda: not k.x_windows_named(k.MAIN_TITLE), "the main window to hide")
    k.tray_click()
    form = k.window(k.LOGIN_TITLE)
    k.login("wrong1", main_expected=False)
    k.wait_for(lambda: "密码错误...2次" in k.login_status(form), "the status bar to read '密码错误...2次'")
    k.check(True, "the second wrong password counts on: '密码错误...2次'")
    k.login("wrong2", main_expected=False, erase=len("wrong1"))
    k.answer_message("由于您多次输入了无效的密码程序将要退出...")
    k.exits(program, "the third wrong password ends the program")
    k.check(k.sql(world.database, f"select count(*) from data where 分类='{CATEGORY}'") == [["3"]],
            "the records survive the ending")


if __name__ == "__main__":
    k.scenario(steps)
