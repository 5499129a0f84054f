"""Chosen hot keys in the real program: Ctrl+Alt+P recorded in the field 输入密码 on 高级设置 and
saved with 保存高级设置 fills the password into another program at once, and Ctrl+Right no longer
does; Config.ini and the tip at the bottom of the main window name the new combination."""

import os
import subprocess
import time

import keyhaven_e2e as k

ACCOUNT = "hot.keys@example.com"
PASSWORD = "Chosen7Key"
TITLE = "热键测试"


def show_advanced_tab(main):
    k.click(k.control(main, "高级设置", k.atspi().ROLE_PAGE_TAB))
    k.wait_for(lambda: k.descendants(main, lambda n: n.name == "热键" and k._showing(n), 1), "tab 高级设置 shown")


def stored_settings(world):
    with open(os.path.join(world.folder, "Config.ini"), "rb") as config:
        return config.read().decode("gbk")


def steps(world, options):
    world.start()
    main = k.login(k.INITIAL_MASTER)
    listbox = k.add_category(main, "热键分类")
    k.click_list_item(listbox, "热键分类")
    k.add_record(main, TITLE, "https://login.example.com", ACCOUNT, PASSWORD)
    k.click_grid_cell(k.grid(main), TITLE)
    k.wait_for(lambda: k.text_of(k.control(main, "帐号", k.atspi().ROLE_TEXT)) == ACCOUNT, "the record picked")

    show_advanced_tab(main)
    # The label carries the same name as the field it names.
    field = k.wait_for(lambda: (k.descendants(main, lambda n: n.name == "输入密码" and k._showing(n)
                                              and n.getRole() != k.atspi().ROLE_LABEL, 1) or [None])[0],
                       "the field 输入密码")
    k.click(field)
    k.keys("ctrl+alt+p")
    k.wait_for(lambda: any("Ctrl+Alt+P" in text for text in _texts_under(field)), "the field to show Ctrl+Alt+P")
    k.screenshot(options.screenshots, "main_advanced_tab_hot_keys")
    k.press(k.button(main, "保存高级设置"))
    k.answer_message("配置保存成功！")
    k.check("密码热键=Ctrl+Alt+P" in stored_settings(world), "Config.ini holds the chosen password hot key")
    # Qt's native text of Ctrl+Left follows the translations installed ("Ctrl+左方向").
    tips = [t for t in k.labels(main) if t.startswith("小技巧:") and t.endswith(" 自动输入帐号 Ctrl+Alt+P 自动输入密码.")]
    k.check(len(tips) == 2, f"both tips name the chosen combination: {k.labels(main)}")

    out = os.path.join(world.root, "received")
    receiver = k.spawn([options.receiver, out], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        k.wait_for(lambda: os.path.exists(out + ".ready"), "the receiver to have the focus")
        k.keys("ctrl+Right")
        # A fill would arrive within about a second (paste style waits 800 ms before Ctrl+V).
        time.sleep(2)
        k.check(not os.path.exists(out), "Ctrl+Right no longer fills")
        k.keys("ctrl+alt+p")
        k.wait_for_file_text(out, PASSWORD, "Ctrl+Alt+P fills the password")
    finally:
        k._end(receiver)


def _texts_under(accessible):
    """The names and texts of the accessible and everything in it."""
    found = []
    for node in [accessible] + k.descendants(accessible, lambda n: True):
        found.append(node.name)
        try:
            found.append(k.text_of(node))
        except NotImplementedError:
            pass
    return found


if __name__ == "__main__":
    k.scenario(steps)
