"""Automatic locking of the real program: a screen locker's ActiveChanged(true) on the session
bus, and the display staying idle for the (test-shortened) idle time, each hide the main window
behind the login window."""

import os
import time

import keyhaven_e2e as k

IDLE_SECONDS = 4


def main_hidden():
    return not k.x_windows_named(k.MAIN_TITLE)


def steps(world, options):
    # One idle minute, shortened for the test by the program's test-only override.
    with open(os.path.join(world.folder, "Config.ini"), "wb") as config:
        config.write("[软件配置]\r\n空闲锁定分钟=1\r\n".encode("gbk"))
    os.environ["KEYHAVEN_TEST_IDLE_LIMIT_SECONDS"] = str(IDLE_SECONDS)
    program = world.start()
    main = k.login(k.INITIAL_MASTER)
    k.check(not main_hidden(), "the main window is shown after the login")
    k.click(k.control(main, "高级设置", k.atspi().ROLE_PAGE_TAB))
    k.wait_for(lambda: k.descendants(main, lambda n: n.name == "自动锁定" and k._showing(n), 1), "tab 高级设置 shown")
    k.screenshot(options.screenshots, "main_advanced_tab")

    # Any sender may say the screen locked: a forged signal can only lock.
    sent = k.run(["dbus-send", "--session", "--type=signal", "/org/freedesktop/ScreenSaver",
                  "org.freedesktop.ScreenSaver.ActiveChanged", "boolean:true"])
    k.check(sent.returncode == 0, "the screen locker's signal is sent")
    k.wait_for(main_hidden, "the main window hides when the screen locks", timeout=IDLE_SECONDS - 1)

    k.tray_click()
    k.login(k.INITIAL_MASTER)
    k.check(not main_hidden(), "the main window is back after the new login")
    shown_at = time.monotonic()
    # Stay still: any input, synthetic too, starts the idle time again.
    k.wait_for(main_hidden, "the main window hides after the idle time", timeout=IDLE_SECONDS * 5, interval=0.5)
    k.check(time.monotonic() - shown_at >= IDLE_SECONDS - 1, "not before the idle time has passed")

    k.tray_menu("退出程序")
    k.exits(program, "'退出程序' in the tray menu ends the program")


if __name__ == "__main__":
    k.scenario(steps)
