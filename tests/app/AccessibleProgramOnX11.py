#!/usr/bin/python3
"""The real program as a screen reader (through AT-SPI) and a keyboard-only
user (through XTest key events) reach it.

usage: AccessibleProgramOnX11.py PROGRAM TEST_NAME
Runs under tests/xvfb-exec.sh, dbus-run-session and tests/app/atspi-session.sh.
"""

import json
import os
import pathlib
import subprocess
import sys
import tempfile
import time
import unittest

import pyatspi

PROGRAM = ""
# How long anything may take on a loaded machine under the sanitizers.
TIMEOUT_S = 60
POLL_S = 0.05
TITLE = "SkinRecorder"
RECORDING_TITLE = "SkinRecorder – Recording"

# Every control of the Pink skin that shows, as a screen reader hears it.
PINK_CONTROLS = {
    ("Record to file", "push button"),
    ("Play", "push button"),
    ("Stop", "push button"),
    ("Video source", "push button"),
    ("Audio source", "push button"),
    ("Audio sync mode", "push button"),
    ("MPEG profile", "push button"),
    ("AVI compressor profile", "push button"),
    ("Frame picture", "push button"),
    ("Minimize", "push button"),
    ("Close", "push button"),
    ("Sound level", "progress bar"),
    ("Mute the sound", "check box"),
    ("Output", "label"),
    ("Title", "text"),
    ("Recordings", "list"),
    ("Output format", "combo box"),
}
# Deluxe's state controls: role and whether checked, as a new window starts.
DELUXE_STATES = {
    "Good quality": ("radio button", True),
    "Best quality": ("radio button", False),
    "Mute the sound": ("check box", False),
}


def wait_for(condition, what):
    """The condition's first true value; fails after TIMEOUT_S."""
    deadline = time.monotonic() + TIMEOUT_S
    while time.monotonic() < deadline:
        try:
            value = condition()
        except Exception:  # the tree changes under a walk while windows come and go
            value = None
        if value:
            return value
        time.sleep(POLL_S)
    raise AssertionError("timed out waiting for " + what)


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def has_state(node, state):
    return node.getState().contains(state)


def find_child(node, name, role=None):
    for child in children(node):
        if child.name == name and (role is None or child.getRoleName() == role):
            return child
    return None


# Their children are rows, many of them: not where a window's buttons lie.
ROW_HOLDERS = {"list", "tree", "table", "tree table", "combo box"}


def find_descendant(node, name, role):
    for child in children(node):
        if child.name == name and child.getRoleName() == role:
            return child
        if child.getRoleName() in ROW_HOLDERS:
            continue
        found = find_descendant(child, name, role)
        if found is not None:
            return found
    return None


def press(node):
    action = node.queryAction()
    action.doAction(0)


class ProgramUnderTest:
    """The program in a home folder of its own, its windows found by AT-SPI."""

    def __init__(self, home):
        self.home = home
        env = dict(os.environ, HOME=str(home), QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
        env.pop("XDG_VIDEOS_DIR", None)
        self.process = subprocess.Popen([PROGRAM], cwd=home, env=env, stdout=subprocess.DEVNULL)
        self.app = wait_for(self._find_app, "the program on the accessibility bus")
        self.window = wait_for(lambda: self._window(TITLE), "the main window")

    def _find_app(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in children(desktop):
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    def _window(self, name, role="dialog"):
        window = find_child(self.app, name, role)
        return window if window is not None and has_state(window, pyatspi.STATE_SHOWING) else None

    def shown_controls(self):
        return {child.name: child for child in children(self.window) if has_state(child, pyatspi.STATE_SHOWING)}

    def control(self, name):
        return wait_for(lambda: self.shown_controls().get(name), name)

    def focused_name(self):
        for child in children(self.window):
            if has_state(child, pyatspi.STATE_FOCUSED):
                return child.name
        return None

    def title_is(self, title):
        return wait_for(lambda: self.window.name == title, "the title " + title)

    def save_dialog(self):
        return wait_for(lambda: self._window("Save As"), "the save dialog")

    def recordings(self):
        return sorted(self.home.glob("*.mpg"))

    def wait_growing(self):
        """The recording's file, once it has grown twice."""
        file = wait_for(lambda: self.recordings()[-1] if self.recordings() else None, "a recording's file")
        sizes = []
        wait_for(lambda: sizes.append(file.stat().st_size) or len(set(sizes)) > 2, "the file growing")
        return file

    def take_keyboard(self):
        """Gives the window the keyboard focus, as a window manager would."""
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^" + TITLE + "$", "windowfocus",
                        "--sync"], check=True, stdout=subprocess.DEVNULL)
        wait_for(lambda: has_state(self.window, pyatspi.STATE_ACTIVE), "the window active")

    def close(self):
        self.process.terminate()
        self.process.wait(TIMEOUT_S)


def video_seconds(file):
    """The video stream's length as ffprobe reads it."""
    probe = subprocess.run(["ffprobe", "-v", "error", "-show_streams", "-of", "json", str(file)],
                           capture_output=True, check=True, text=True)
    streams = [s for s in json.loads(probe.stdout)["streams"] if s["codec_type"] == "video"]
    return float(streams[0]["duration"]) if streams else 0.0


def keys(*names):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *names], check=True)


def roles_of(controls):
    return {(name, node.getRoleName()) for name, node in controls.items()}


class AccessibleProgram(unittest.TestCase):
    def setUp(self):
        self.home_dir = tempfile.TemporaryDirectory()
        self.program = ProgramUnderTest(pathlib.Path(self.home_dir.name))

    def tearDown(self):
        self.program.close()
        self.home_dir.cleanup()

    def test_a_screen_reader_finds_every_control_and_records(self):
        program = self.program
        missing = PINK_CONTROLS - roles_of(program.shown_controls())
        self.assertFalse(missing, "not found by name and role")
        self.assertIsNotNone(find_child(program.app, "SkinRecorder notice"), "the notifier is named")

        press(program.control("Record to file"))
        dialog = program.save_dialog()
        press(wait_for(lambda: find_descendant(dialog, "Save", "push button"), "the Save button"))
        program.title_is(RECORDING_TITLE)
        file = program.wait_growing()
        press(program.control("Stop"))
        program.title_is(TITLE)
        self.assertGreater(video_seconds(file), 0.0)

        # Deluxe, chosen in the skin menu from the keyboard: a hidden menu is
        # not always in the reader's tree of windows (never in the sanitizer
        # build), and a shown one leaves it. Up wraps to "Timers…", then,
        # over the separator, to Deluxe.
        program.take_keyboard()
        keys("Menu", "Up", "Up", "Return")
        controls = wait_for(lambda: "Good quality" in program.shown_controls() and program.shown_controls(),
                            "the Deluxe skin")
        for name, (role, checked) in DELUXE_STATES.items():
            with self.subTest(name):
                self.assertEqual(controls[name].getRoleName(), role)
                self.assertEqual(has_state(controls[name], pyatspi.STATE_CHECKED), checked)

    def test_the_keyboard_alone_records_and_switches_skin(self):
        program = self.program

        def tab_to(name):
            for _ in range(len(PINK_CONTROLS) * 2):
                before = program.focused_name()
                keys("Tab")
                # The reader may ask before the program has moved the focus.
                moved = wait_for(lambda: program.focused_name() not in (None, before) and program.focused_name(),
                                 "the focus moving")
                if moved == name:
                    return
            self.fail("Tab never reached " + name)

        program.take_keyboard()
        tab_to("Record to file")
        keys("Return")
        program.save_dialog()
        keys("ctrl+a")
        subprocess.run(["xdotool", "type", "--delay", "20", "typed.mpg"], check=True)
        keys("Return")
        program.title_is(RECORDING_TITLE)
        wait_for(lambda: program.focused_name() == "Record to file", "the focus back on Record")
        file = program.wait_growing()
        self.assertEqual(file.name, "typed.mpg")
        tab_to("Stop")
        keys("space")
        program.title_is(TITLE)
        self.assertGreater(video_seconds(file), 0.0)

        # The Menu key (Shift+F10 is the unit tests'): the open menu takes the
        # keys that follow; Up from no item wraps to the last, "Timers…", and
        # once more (over the separator) to the last skin, Deluxe. (A shown
        # menu leaves the reader's tree of windows, so the switch is what
        # tells it opened.)
        keys("Menu", "Up", "Up", "Return")
        wait_for(lambda: "Good quality" in program.shown_controls(), "the Deluxe skin")
        self.assertEqual(program.focused_name(), "Stop", "the focus stays on the control of that name")


if __name__ == "__main__":
    PROGRAM = sys.argv[1]
    unittest.main(argv=[sys.argv[0], *sys.argv[2:]])
