#!/usr/bin/python3
"""fake_portal.py LOG [--refuse] [--version N] [--start-delay-ms MS]: the desktop's RemoteDesktop and GlobalShortcuts portals.

Answers CreateSession, SelectDevices and Start through Request.Response (Start after MS, as a user
would, or, with MS negative, when the test calls Consent() on test.keyhaven.FakePortal; with 1,
cancelled, under --refuse), takes keys only on a started session, and appends each call to LOG as one JSON
object a line. Interface version 2 (the default) hands out restore tokens token-1, token-2, ...
GlobalShortcuts binds what it is asked for; the test presses a bound shortcut with Press(id, release_after_ms)
on the interface test.keyhaven.FakePortal (never released when negative).
"""
import argparse
import json

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

DESKTOP = "/org/freedesktop/portal/desktop"
REMOTE_DESKTOP = "org.freedesktop.portal.RemoteDesktop"
GLOBAL_SHORTCUTS = "org.freedesktop.portal.GlobalShortcuts"

parser = argparse.ArgumentParser()
parser.add_argument("log")
parser.add_argument("--refuse", action="store_true")
parser.add_argument("--version", type=int, default=2)
parser.add_argument("--start-delay-ms", type=int, default=0)
args = parser.parse_args()
DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
log = open(args.log, "a", buffering=1, encoding="utf-8")
started = set()
unanswered_keys = []  # the replies of keys not yet answered
shortcut_sessions = []
consents = []
tokens = 0


def record(**entry):
    log.write(json.dumps(entry) + "\n")


def handle(kind, sender, token):
    return dbus.ObjectPath(f"{DESKTOP}/{kind}/{sender[1:].replace('.', '_')}/{token}")


class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, code, results):
        pass


class Session(dbus.service.Object):
    @dbus.service.method("org.freedesktop.portal.Session")
    def Close(self):
        record(call="Close", session=str(self.__dbus_object_path__))
        started.discard(self.__dbus_object_path__)
        self.remove_from_connection()


def answer(sender, options, code, results, delay_ms=0):
    path = handle("request", sender, options["handle_token"])
    request = Request(bus, path)

    def respond():
        request.Response(dbus.UInt32(code), dbus.Dictionary(results, signature="sv"))
        request.remove_from_connection()
        return False

    if delay_ms < 0:
        consents.append(respond)
    else:
        GLib.timeout_add(delay_ms, respond)
    return path


class Shortcuts(dbus.service.Object):
    """Beneath Portal, whose CreateSession of the same name belongs to RemoteDesktop."""

    @dbus.service.method(GLOBAL_SHORTCUTS, in_signature="a{sv}", out_signature="o", sender_keyword="sender")
    def CreateSession(self, options, sender):
        record(call="CreateShortcutsSession")
        session = handle("session", sender, options["session_handle_token"])
        Session(bus, session)
        return answer(sender, options, 0, {"session_handle": session})

    @dbus.service.method(GLOBAL_SHORTCUTS, in_signature="oa(sa{sv})sa{sv}", out_signature="o", sender_keyword="sender")
    def BindShortcuts(self, session, shortcuts, parent_window, options, sender):
        record(call="BindShortcuts", session=str(session), shortcuts=[[str(i), dict(p)] for i, p in shortcuts])
        shortcut_sessions.append(session)
        return answer(sender, options, 0, {"shortcuts": dbus.Array(shortcuts, signature="(sa{sv})")})

    @dbus.service.signal(GLOBAL_SHORTCUTS, signature="osta{sv}")
    def Activated(self, session, shortcut_id, timestamp, options):
        record(call="Activated", id=shortcut_id)

    @dbus.service.signal(GLOBAL_SHORTCUTS, signature="osta{sv}")
    def Deactivated(self, session, shortcut_id, timestamp, options):
        record(call="Deactivated", id=shortcut_id)

    @dbus.service.method("test.keyhaven.FakePortal", in_signature="si")
    def Press(self, shortcut_id, release_after_ms):
        session = shortcut_sessions[-1]
        self.Activated(session, shortcut_id, dbus.UInt64(0), dbus.Dictionary({}, signature="sv"))

        def release():
            self.Deactivated(session, shortcut_id, dbus.UInt64(0), dbus.Dictionary({}, signature="sv"))
            return False

        if release_after_ms >= 0:
            GLib.timeout_add(release_after_ms, release)


class Portal(Shortcuts):
    @dbus.service.method("test.keyhaven.FakePortal")
    def Consent(self):
        while consents:
            consents.pop(0)()

    @dbus.service.method("org.freedesktop.host.portal.Registry", in_signature="sa{sv}")
    def Register(self, app_id, options):
        record(call="Register", app_id=str(app_id))

    @dbus.service.method(REMOTE_DESKTOP, in_signature="a{sv}", out_signature="o", sender_keyword="sender")
    def CreateSession(self, options, sender):
        record(call="CreateSession")
        session = handle("session", sender, options["session_handle_token"])
        Session(bus, session)
        return answer(sender, options, 0, {"session_handle": dbus.String(session)})

    @dbus.service.method(REMOTE_DESKTOP, in_signature="oa{sv}", out_signature="o", sender_keyword="sender")
    def SelectDevices(self, session, options, sender):
        record(call="SelectDevices", options={key: value for key, value in options.items() if key != "handle_token"})
        return answer(sender, options, 0, {})

    @dbus.service.method(REMOTE_DESKTOP, in_signature="osa{sv}", out_signature="o", sender_keyword="sender")
    def Start(self, session, parent_window, options, sender):
        global tokens
        record(call="Start")
        if args.refuse:
            return answer(sender, options, 1, {})
        started.add(session)
        results = {"devices": dbus.UInt32(1)}
        if args.version >= 2:
            tokens += 1
            results["restore_token"] = f"token-{tokens}"
        return answer(sender, options, 0, results, args.start_delay_ms)

    # Answered a moment later, as a real portal hands each call on to its back-end, where a key
    # sent before the last one's answer may overtake it: the log marks such a key early.
    @dbus.service.method(REMOTE_DESKTOP, in_signature="oa{sv}iu", async_callbacks=("reply", "error"))
    def NotifyKeyboardKeysym(self, session, options, keysym, state, reply, error):
        if session not in started:
            error(dbus.exceptions.DBusException("no started session", name="org.freedesktop.DBus.Error.AccessDenied"))
            return
        record(call="Key", keysym=int(keysym), state=int(state), early=bool(unanswered_keys))
        unanswered_keys.append(reply)

        def answer_key():
            unanswered_keys.remove(reply)
            reply()
            return False

        GLib.timeout_add(2, answer_key)

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        if interface == REMOTE_DESKTOP and name == "version":
            return dbus.UInt32(args.version)
        if interface == GLOBAL_SHORTCUTS and name == "version":
            return dbus.UInt32(1)
        raise dbus.exceptions.DBusException(name, name="org.freedesktop.DBus.Error.UnknownProperty")


name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus)
portal = Portal(bus, DESKTOP)
GLib.MainLoop().run()
