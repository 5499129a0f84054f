"""Screenshots for people to look at: the login window, the offer to set one's own master password,
the three tabs of the main window with records listed, and a message box."""

import keyhaven_e2e as k


def steps(world, options):
    shots = options.screenshots
    world.start()
    k.window(k.LOGIN_TITLE)
    k.screenshot(shots, "login_window")
    main = k.login(k.INITIAL_MASTER, offer_screenshot=(shots, "own_password_offer"))
    listbox = k.add_category(main, "常用网站")
    k.click_list_item(listbox, "常用网站")
    k.add_record(main, "邮箱", "https://mail.example.com", "zhang.san@example.com", "Mail2024", "每季度更换")
    k.add_record(main, "网上银行", "https://bank.example.com", "zhangsan", "Bank9Safe", "")
    table = k.grid(main)  # each add lists all records again
    k.wait_for(lambda: len(k.grid_row_texts(table)) == 3, "three records listed")
    k.click_grid_cell(table, "邮箱")
    k.wait_for(lambda: k.text_of(k.control(main, "标题", k.atspi().ROLE_TEXT)) == "邮箱", "the record picked")
    k.screenshot(shots, "main_accounts_tab")
    k.show_tab(main, "软件设置")
    k.screenshot(shots, "main_settings_tab")
    k.show_tab(main, "关于我们")
    k.screenshot(shots, "main_about_tab")
    k.show_tab(main, "帐号管理")
    k.press(k.button(main, "删除"))
    box, texts = k.message_box()
    k.check(any(t.startswith("您真的要删除该记录吗?\n") for t in texts),
            f"the delete asks first, naming the row: {texts}")
    k.screenshot(shots, "message_box")
    k.press(k.button(box, k.NO))
    k.wait_for(lambda: not k.message_boxes(), "the question to close")
    k.check(k.sql(world.database, "select count(*) from data") == [["3"]], "answering No deletes nothing")


if __name__ == "__main__":
    k.scenario(steps)
