"""Categories and records in the real program: add a category and three records, find one by a
word of its note, modify it, delete the category; the files show each step and the backup keeps
the deleted records."""

import glob
import os

import keyhaven_e2e as k

CATEGORY = "工作邮箱"
RECORDS = [
    ("公司邮箱", "https://mail.example.com", "alice@example.com", "Mail2024x", "密码每季度更换"),
    ("备用邮箱", "https://backup.example.com", "alice.b", "Backup77y", "找回问题：红杉树街"),
    ("报销系统", "", "alice-fin", "Fin0nly", ""),
]
NOTE_WORD = "红杉树"


def steps(world, options):
    pyatspi = k.atspi()
    world.start()
    main = k.login(k.INITIAL_MASTER)

    listbox = k.add_category(main, CATEGORY)
    rows = k.sql(world.database, f"select 标题, 网址, 帐号 from data where 分类='{CATEGORY}'")
    k.check(rows == [["标题", "http://", "账号"]], f"the new category is stored as one placeholder record: {rows}")

    k.click_list_item(listbox, CATEGORY)
    form_category = k.combos(main)[1]
    k.wait_for(lambda: form_category.name == CATEGORY, "the form's category box to show the clicked category")
    for record in RECORDS:
        k.add_record(main, *record)
    stored = k.sql(world.database, f"select 标题, 网址, 帐号, 密码, 备注 from data where 分类='{CATEGORY}' "
                                   "and 标题<>'标题' order by 编号")
    k.check([row[:3] for row in stored] == [list(r[:3]) for r in RECORDS],
            f"the three records are stored under '{CATEGORY}': {stored}")
    for (title, _, _, password, note), row in zip(RECORDS, stored):
        k.check(row[3] != password and all(c in "0123456789ABCDEF" for c in row[3]) and row[3],
                f"the password of '{title}' is stored enciphered")
        k.check(len(row[4]) >= 16 and (not note or note not in row[4]), f"the note of '{title}' is stored enciphered")
    table = k.grid(main)
    titles = [row[3] for row in k.grid_row_texts(table)]
    k.check(all(r[0] in titles for r in RECORDS), f"the grid lists the new records: {titles}")

    search_column = k.combos(main)[0]
    k.choose(search_column, "备注")
    k.set_text(k.control(main, "搜索关键词", pyatspi.ROLE_TEXT), NOTE_WORD)
    k.press(k.button(main, "搜索"))
    wanted = RECORDS[1]
    k.wait_for(lambda: [row[3] for row in k.grid_row_texts(table)] == [wanted[0]],
               f"the search for '{NOTE_WORD}' in 备注 to list '{wanted[0]}' alone")
    k.check(k.status_texts(main)[0] == f"关于{NOTE_WORD}的信息,共搜索到1条",
            f"the status bar counts one hit: {k.status_texts(main)[0]}")

    k.click_grid_cell(table, wanted[0])
    note_box = k.control(main, "备注", pyatspi.ROLE_TEXT)
    k.wait_for(lambda: k.text_of(note_box) == wanted[4], "the pick to show the deciphered note")
    account_box = k.control(main, "帐号", pyatspi.ROLE_TEXT)
    k.check(k.text_of(account_box) == wanted[2], "the pick shows the account name")
    number = k.sql(world.database, f"select 编号, 统计 from data where 标题='{wanted[0]}'")[0]
    k.check(number[1] == "1", f"the pick counts one use: {number}")

    new_title = "备用邮箱（旧）"
    k.set_text(k.control(main, "标题", pyatspi.ROLE_TEXT), new_title)
    k.press(k.button(main, "修改"))
    k.answer_message("修改成功.")
    modified = k.sql(world.database, f"select 标题, 帐号, 统计 from data where 编号={number[0]}")
    k.check(modified == [[new_title, wanted[2], "1"]], f"the record is modified in place: {modified}")
    k.wait_for(lambda: new_title in [row[3] for row in k.grid_row_texts(table)], "the grid to show the new title")

    # 历史 lists what 修改 wrote over, naming the field that differs.
    k.click_grid_cell(table, new_title)
    k.wait_for(lambda: k.text_of(k.control(main, "标题", pyatspi.ROLE_TEXT)) == new_title, "the modified record picked")
    k.press(k.button(main, "历史版本"))
    history = k.window("历史版本")
    versions = k.wait_for(lambda: k.descendants(history, lambda n: n.getRole() == pyatspi.ROLE_LIST), "the list")[0]
    k.wait_for(lambda: any(i.name.endswith("  标题") for i in k.list_items(versions)), "a version that differs in 标题")
    k.screenshot(options.screenshots, "history_dialog")
    k.press(k.button(history, "关闭"))
    k.wait_for(lambda: not k.top_windows("历史版本"), "the history dialog to close")

    k.click_list_item(listbox, CATEGORY)
    going = k.sql(world.database, f"select count(*) from data where 分类='{CATEGORY}'")[0][0]
    k.category_menu(listbox, "删除选中分类(包含分类所有帐号信息)")
    k.answer_message(f"您真的要删除该分类吗?\n{CATEGORY}\n其中的 {going} 条记录也将删除 (删除前自动备份).",
                     answer=k.YES, caption="警告")
    k.wait_for(lambda: CATEGORY not in [i.name for i in k.list_items(listbox)], "the category to leave the list")
    left = k.sql(world.database, f"select count(*) from data where 分类='{CATEGORY}'")
    k.check(left == [["0"]], f"the category's records are deleted: {left}")

    pattern = glob.escape(f"删除[{CATEGORY}]分类前备份_bak_") + "*_.udb"
    backups = world.backups(pattern)
    k.check(len(backups) == 1, f"one backup '{pattern}' beside the program: {os.listdir(world.folder)}")
    kept = k.sql(backups[0], f"select 标题 from data where 分类='{CATEGORY}' order by 编号")
    k.check([row[0] for row in kept] == ["标题", RECORDS[0][0], new_title, RECORDS[2][0]],
            f"the backup holds the deleted records as they were: {kept}")


if __name__ == "__main__":
    k.scenario(steps)
