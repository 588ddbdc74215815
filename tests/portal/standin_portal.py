#!/usr/bin/python3
"""A stand-in for xdg-desktop-portal's ScreenCast interface, for tests.

Owns org.freedesktop.portal.Desktop on the session bus it is started on and
answers the four calls of a screen cast through Request objects, as the
real portal does. Its behaviour comes from files in the folder it is given,
read at every call, so a test can change it between recordings:

  answer   grant (default), cancel (response 1 to Start, where the person
           is asked), end (response 2 to Start), or silent: the name is
           owned but nothing is ever answered
  node     the PipeWire node id handed out (default 42)
  size     "WIDTH HEIGHT" of the stream (default 640 480)

Every call is appended to calls.jsonl in that folder, with its options, so a
test can check what it was sent. OpenPipeWireRemote hands out a connection to
the PipeWire daemon of $PIPEWIRE_RUNTIME_DIR (else one end of a socket pair).
Prints "ready" once the name is owned.
"""
import json
import os
import socket
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

PORTAL_NAME = "org.freedesktop.portal.Desktop"
PORTAL_PATH = "/org/freedesktop/portal/desktop"
SCREENCAST = "org.freedesktop.portal.ScreenCast"
REQUEST = "org.freedesktop.portal.Request"
SESSION = "org.freedesktop.portal.Session"
PROPERTIES = "org.freedesktop.DBus.Properties"
RESPONSES = {"grant": 0, "cancel": 1, "end": 2}


class Config:
    def __init__(self, folder):
        self.folder = folder
        self.tokens_issued = 0

    def read(self, name, default):
        try:
            with open(os.path.join(self.folder, name)) as f:
                return f.read().strip() or default
        except FileNotFoundError:
            return default

    def record(self, method, sender, options):
        with open(os.path.join(self.folder, "calls.jsonl"), "a") as f:
            f.write(json.dumps({"method": method, "sender": sender, "options": options}) + "\n")


def plain(value):
    """D-Bus values as JSON takes them."""
    if isinstance(value, dict):
        return {str(k): plain(v) for k, v in value.items()}
    if isinstance(value, (list, tuple)):
        return [plain(v) for v in value]
    if isinstance(value, dbus.Boolean):
        return bool(value)
    if isinstance(value, (int, float)):
        return int(value) if isinstance(value, int) else float(value)
    return str(value)


class Request(dbus.service.Object):
    @dbus.service.method(REQUEST, in_signature="", out_signature="")
    def Close(self):
        self.remove_from_connection()

    @dbus.service.signal(REQUEST, signature="ua{sv}")
    def Response(self, response, results):
        pass


class Session(dbus.service.Object):
    def __init__(self, bus, path, config):
        super().__init__(bus, path)
        self.config = config

    @dbus.service.method(SESSION, in_signature="", out_signature="", sender_keyword="sender")
    def Close(self, sender=None):
        self.config.record("Session.Close", sender, {})
        self.remove_from_connection()


class Portal(dbus.service.Object):
    def __init__(self, bus, config):
        super().__init__(bus, PORTAL_PATH)
        self.bus = bus
        self.config = config
        self.sessions = {}

    def answer(self):
        return self.config.read("answer", "grant")

    def request_path(self, sender, options):
        token = str(options.get("handle_token", "t"))
        return "%s/request/%s/%s" % (PORTAL_PATH, sender[1:].replace(".", "_"), token)

    def respond(self, method, sender, options, results, reply):
        """Answers on the request object; the Response goes out before the
        call's own reply, so a caller that subscribes late misses it."""
        self.config.record(method, sender, plain(options))
        answer = self.answer()
        if answer == "silent":
            return
        path = self.request_path(sender, options)
        request = Request(self.bus, path)
        # The person is asked at Start, as the real portal's picker does.
        response = RESPONSES.get(answer, 2) if method == "Start" else 0
        request.Response(dbus.UInt32(response), dbus.Dictionary(results if response == 0 else {}, signature="sv"))
        request.remove_from_connection()
        reply(dbus.ObjectPath(path))

    @dbus.service.method(SCREENCAST, in_signature="a{sv}", out_signature="o", sender_keyword="sender",
                         async_callbacks=("reply", "error"))
    def CreateSession(self, options, sender=None, reply=None, error=None):
        path = "%s/session/%s/%s" % (PORTAL_PATH, sender[1:].replace(".", "_"),
                                     str(options.get("session_handle_token", "s")))
        self.sessions[path] = Session(self.bus, path, self.config)
        self.respond("CreateSession", sender, options, {"session_handle": dbus.String(path)}, reply)

    @dbus.service.method(SCREENCAST, in_signature="oa{sv}", out_signature="o", sender_keyword="sender",
                         async_callbacks=("reply", "error"))
    def SelectSources(self, session, options, sender=None, reply=None, error=None):
        if str(session) not in self.sessions:
            error(dbus.exceptions.DBusException("no such session", name="org.freedesktop.portal.Error.NotFound"))
            return
        self.sessions[str(session)].persist = int(options.get("persist_mode", 0))
        self.respond("SelectSources", sender, options, {}, reply)

    @dbus.service.method(SCREENCAST, in_signature="osa{sv}", out_signature="o", sender_keyword="sender",
                         async_callbacks=("reply", "error"))
    def Start(self, session, parent_window, options, sender=None, reply=None, error=None):
        width, height = (int(n) for n in self.config.read("size", "640 480").split())
        stream = dbus.Struct((dbus.UInt32(int(self.config.read("node", "42"))),
                              dbus.Dictionary({"size": dbus.Struct((dbus.Int32(width), dbus.Int32(height)),
                                                                   signature="ii"),
                                               "source_type": dbus.UInt32(1)}, signature="sv")),
                             signature="ua{sv}")
        results = {"streams": dbus.Array([stream], signature="(ua{sv})")}
        if getattr(self.sessions.get(str(session)), "persist", 0):
            # The real portal hands out a new token every time.
            self.config.tokens_issued += 1
            results["restore_token"] = dbus.String("standin-token-%d" % self.config.tokens_issued)
        self.respond("Start", sender, options, results, reply)

    @dbus.service.method(SCREENCAST, in_signature="oa{sv}", out_signature="h", sender_keyword="sender")
    def OpenPipeWireRemote(self, session, options, sender=None):
        self.config.record("OpenPipeWireRemote", sender, plain(options))
        runtime = os.environ.get("PIPEWIRE_RUNTIME_DIR")
        if runtime:
            remote = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
            remote.connect(os.path.join(runtime, "pipewire-0"))
        else:
            remote, self.kept = socket.socketpair()
        fd = dbus.types.UnixFd(remote.fileno())
        remote.close()
        return fd

    @dbus.service.method(PROPERTIES, in_signature="ss", out_signature="v", async_callbacks=("reply", "error"))
    def Get(self, interface, name, reply=None, error=None):
        if self.answer() == "silent":
            return
        reply(self.properties()[str(name)])

    @dbus.service.method(PROPERTIES, in_signature="s", out_signature="a{sv}", async_callbacks=("reply", "error"))
    def GetAll(self, interface, reply=None, error=None):
        if self.answer() == "silent":
            return
        reply(dbus.Dictionary(self.properties(), signature="sv"))

    def properties(self):
        return {"AvailableSourceTypes": dbus.UInt32(3), "AvailableCursorModes": dbus.UInt32(3),
                "version": dbus.UInt32(4)}


def main():
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    config = Config(sys.argv[1])
    portal = Portal(bus, config)
    name = dbus.service.BusName(PORTAL_NAME, bus, do_not_queue=True)
    print("ready", flush=True)
    GLib.MainLoop().run()
    del name, portal


if __name__ == "__main__":
    main()
