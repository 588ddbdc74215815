#!/usr/bin/python3
"""A desktop notification server for tests, on the bus at --address.

Takes org.freedesktop.Notifications, prints each Notify call as a JSON line
on stdout (after a first line "ready"), and, with --invoke ACTION, acts as a
person who clicks that action as soon as a notification offers it: emits
ActionInvoked, then NotificationClosed as servers do once an action ran;
with --before-reply it sends both before its reply to Notify, as a client
may see them when its reply is delayed.
Runs until killed. Needs the system's python3 with python3-dbus and
python3-gi.
"""

import argparse
import json
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

NAME = "org.freedesktop.Notifications"
PATH = "/org/freedesktop/Notifications"
# NotificationClosed's reason: dismissed by the user.
CLOSED_BY_USER = 2


class Server(dbus.service.Object):
    def __init__(self, bus, invoke, before_reply):
        super().__init__(bus, PATH)
        self._invoke = invoke
        self._before_reply = before_reply
        self._last_id = 0

    @dbus.service.method(NAME, in_signature="susssasa{sv}i", out_signature="u",
                         async_callbacks=("reply", "error"))
    def Notify(self, app_name, replaces_id, app_icon, summary, body, actions, hints, timeout, reply, error):
        self._last_id += 1
        notification_id = self._last_id
        print(json.dumps({
            "id": notification_id,
            "app_name": str(app_name),
            "app_icon": str(app_icon),
            "summary": str(summary),
            "body": str(body),
            "actions": [str(action) for action in actions],
            "hints": {str(key): str(value) for key, value in hints.items()},
        }), flush=True)
        clicked = self._invoke and self._invoke in actions[::2]
        if clicked and self._before_reply:
            self._click(notification_id)
        reply(notification_id)
        if clicked and not self._before_reply:
            GLib.idle_add(self._click, notification_id)

    def _click(self, notification_id):
        self.ActionInvoked(notification_id, self._invoke)
        self.NotificationClosed(notification_id, CLOSED_BY_USER)
        return False

    @dbus.service.method(NAME, in_signature="u")
    def CloseNotification(self, notification_id):
        self.NotificationClosed(notification_id, CLOSED_BY_USER)

    @dbus.service.method(NAME, out_signature="as")
    def GetCapabilities(self):
        return ["actions", "body"]

    @dbus.service.method(NAME, out_signature="ssss")
    def GetServerInformation(self):
        return ("test-notification-server", "tests", "1", "1.2")

    @dbus.service.signal(NAME, signature="us")
    def ActionInvoked(self, notification_id, action):
        pass

    @dbus.service.signal(NAME, signature="uu")
    def NotificationClosed(self, notification_id, reason):
        pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--address", required=True)
    parser.add_argument("--invoke", default="")
    parser.add_argument("--before-reply", action="store_true")
    arguments = parser.parse_args()
    DBusGMainLoop(set_as_default=True)
    bus = dbus.bus.BusConnection(arguments.address)
    server = Server(bus, arguments.invoke, arguments.before_reply)
    name = dbus.service.BusName(NAME, bus, do_not_queue=True)
    print("ready", flush=True)
    GLib.MainLoop().run()
    del name, server


if __name__ == "__main__":
    sys.exit(main())
