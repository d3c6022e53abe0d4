#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Reads a Velmo window through the accessibility bus, as a screen reader
does, while a user works it from the keyboard.

Run inside a session bus on an X display (run_on_bus.sh arranges both):
    screen_reader_test.py PROGRAM [--switch-on]
PROGRAM is Velmo_1 (its port is never opened) or velmo_a11y_panel, whose
window works the simulated receiver; --switch-on also switches the receiver
on and off, scans and reads the signal.

Exit status: 0 passed, 1 failed, 77 the bus could not be had.
"""

import contextlib
import os
import re
import subprocess
import sys
import time

SKIP = 77


def skip(reason):
    print("SKIP: " + reason, flush=True)
    sys.exit(SKIP)


try:
    import pyatspi
    from gi.repository import GLib
except ImportError as error:
    skip("python3-pyatspi is not installed (%s)" % error)


def enable_accessibility():
    """Turns accessibility on for the session, as a desktop with a screen
    reader has it: the AT-SPI bus starts, and Qt programs join it. The
    desktop's switch, IsEnabled, is there on every release; the screen
    reader's own, ScreenReaderEnabled, is gone from newer at-spi2-core, so it
    is set only where the bus has it."""
    status = subprocess.run(
        ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
         "org.freedesktop.DBus.Properties.GetAll", "string:org.a11y.Status"],
        capture_output=True, text=True, timeout=20)
    if status.returncode != 0:
        skip("the AT-SPI bus did not start: " + status.stderr.strip())
    flags = [f for f in ("IsEnabled", "ScreenReaderEnabled") if '"%s"' % f in status.stdout]
    if "IsEnabled" not in flags:
        print("FAIL  the AT-SPI bus has no IsEnabled switch: " + status.stdout, flush=True)
        sys.exit(1)
    for flag in flags:
        result = subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
             "org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status", "string:" + flag,
             "variant:boolean:true"], capture_output=True, text=True, timeout=20)
        if result.returncode != 0:
            skip("the AT-SPI bus did not start: " + result.stderr.strip())


def pump(seconds):
    """Lets the bus deliver events for a while."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.01)


def wait_until(condition, seconds=10.0):
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        if condition():
            return True
        time.sleep(0.01)
    return condition()


class Failures:
    def __init__(self):
        self.messages = []

    def check(self, ok, message):
        print(("ok    " if ok else "FAIL  ") + message, flush=True)
        if not ok:
            self.messages.append(message)


# Roles by their AT-SPI number: their names change between releases of the
# bus ("push button" became "button"), what a screen reader says does not.
ROLES = {
    "list": pyatspi.ROLE_LIST,
    "scroll bar": pyatspi.ROLE_SCROLL_BAR,
    "combo box": pyatspi.ROLE_COMBO_BOX,
    "label": pyatspi.ROLE_LABEL,
    "push button": pyatspi.ROLE_PUSH_BUTTON,
    "check box": pyatspi.ROLE_CHECK_BOX,
    "radio button": pyatspi.ROLE_RADIO_BUTTON,
    "text": pyatspi.ROLE_TEXT,
    "dialog": pyatspi.ROLE_DIALOG,
}


class Reader:
    """The window as a screen reader sees it, and what it is told.

    A message meant for the screen reader alone reaches it one of two ways,
    by the Qt version: Qt 6.8 and later send an announcement (what Orca 48
    speaks), older Qt shows a notification object named with the message
    (what Orca 43 speaks). Both are heard here, in the order they come."""

    def __init__(self, app):
        self.app = app
        self.notifications = []  # messages told, in order
        self.missed = 0
        self.focus_node = None  # the control the focus last went to
        self.focus_name = None  # and its name then
        pyatspi.Registry.registerEventListener(self._on_event, "object:state-changed:showing")
        pyatspi.Registry.registerEventListener(self._on_event, "object:announcement")
        pyatspi.Registry.registerEventListener(self._on_focus, "object:state-changed:focused")

    def _on_focus(self, event):
        try:
            if event.detail1:
                self.focus_node = event.source
                self.focus_name = event.source.name
        except Exception:
            self.missed += 1

    def _on_event(self, event):
        try:
            if event.type == "object:announcement":
                self.notifications.append(str(event.any_data))
            elif event.detail1 and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
                self.notifications.append(event.source.name)
        except Exception:
            # A notification already replaced by a newer one: a screen
            # reader skips it too.
            self.missed += 1

    def find(self, name=None, role=None, prefix=None):
        def match(node):
            if role is not None and node.getRole() != ROLES[role]:
                return False
            if name is not None and node.name != name:
                return False
            if prefix is not None and not node.name.startswith(prefix):
                return False
            return True
        return pyatspi.findDescendant(self.app, match)

    def focus(self, name, role):
        """Moves the focus to a control: through the bus where the control
        takes it so, else with Tab, as a user does."""
        node = self.find(name=name, role=role)
        if node is None:
            return False
        has_focus = lambda: node.getState().contains(pyatspi.STATE_FOCUSED)
        if node.queryComponent().grabFocus() and wait_until(has_focus, 5):
            return True
        for _ in range(40):
            key("Tab")
            if wait_until(has_focus, 0.5):
                return True
        return False

    def input_box(self):
        for index in range(self.app.childCount):
            window = self.app.getChildAtIndex(index)
            if window is not None and window.getRole() == ROLES["dialog"]:
                return window
        return None

    def focused_name(self):
        """The control that has the focus, as a screen reader follows it:
        the last that said it took the focus. (A search of the tree for the
        state can find stale ones: Qt 6.8 leaves the hidden step list's
        first entry marked focused.)"""
        pump(0.2)
        return self.focus_name

    def told(self, message, seconds=10.0):
        return wait_until(lambda: message in self.notifications, seconds)

    def told_like(self, test, seconds=10.0):
        return wait_until(lambda: any(test(n) for n in self.notifications), seconds)


def find_application(name, process):
    desktop = pyatspi.Registry.getDesktop(0)
    end = time.monotonic() + 15
    while time.monotonic() < end:
        if process.poll() is not None:
            return None
        for app in desktop:
            try:
                if app is not None and app.name == name and app.childCount > 0:
                    return app
            except Exception:
                pass
        pump(0.1)
    return None


def focus_window():
    """Gives the window the keyboard; there is no window manager to do it."""
    subprocess.run(["xdotool", "search", "--sync", "--name", "^Velmo - ICOM PCR1000$", "windowfocus", "--sync"],
                   check=True, timeout=20)


def key(name):
    subprocess.run(["xdotool", "key", name], check=True)


@contextlib.contextmanager
def key_held(name):
    """Holds a key down while the block runs, and lets it go after.

    A key whose press makes its window go is held this way until the window
    has gone. With a screen reader on, Qt holds back each key press and
    release for the AT-SPI registry's answer, keeping a copy of the event
    (88 bytes, and 20 more for its one-character text); when the answer
    comes after the window the key was meant for has gone, or after the
    program has ended, the copy is never freed, and the sanitizer build
    fails on the leak. Released at once, the release of Return in the input
    box would be meant for the box its press deletes, and the release of
    Escape would wait for an answer in a program that is ending."""
    subprocess.run(["xdotool", "keydown", name], check=True)
    try:
        yield
    finally:
        subprocess.run(["xdotool", "keyup", name], check=True)


def value_of(node):
    return node.queryValue().currentValue


def panel_switches():
    """The receiver switches as the panel's table of switches has them:
    (caption, description) in the table's order."""
    table = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "core", "panel_controls.h")
    with open(table, encoding="utf-8") as source:
        rows = re.findall(r'\{\s*CheckBox::\w+,\s*"([^"]+)",\s*"([^"]+)"', source.read())
    if not rows:
        raise RuntimeError("no switch rows found in " + table)
    return rows


def check_names(reader, f):
    """Every control's name, and the value or state it gives."""
    switches = panel_switches()
    expected = [
        ("Commands sent", "list"),
        ("Replies received", "list"),
        ("Volume", "scroll bar"),
        ("Squelch", "scroll bar"),
        ("IF Shift", "scroll bar"),
        ("Tuning step", "combo box"),
        ("Tuning steps", "list"),
        ("Frequency 81.3 MHz", "label"),
        ("Signal 0 of 75", "label"),
        ("Signal scale", "label"),
        ("Receiver off", "label"),
        ("Scanner stopped", "label"),
    ] + [(caption, "push button") for caption in ("ON", "OFF", "UP", "DOWN", "DIRECT", "SCAN")] \
      + [(caption, "check box") for caption, _ in switches]
    for name, role in expected:
        f.check(reader.find(name=name, role=role) is not None, "a %s named %r" % (role, name))
    for caption, description in switches:
        box = reader.find(name=caption, role="check box")
        f.check(box is not None and box.description == description, "%s is described as %r" % (caption, description))

    levels = {"Volume": 100, "Squelch": 128, "IF Shift": 80}
    for name, level in levels.items():
        bar = reader.find(name=name, role="scroll bar")
        f.check(bar is not None and value_of(bar) == level, "%s has the value %d" % (name, level))
    step_text = reader.find(name="Tuning step", role="text")
    f.check(step_text is not None and step_text.queryText().getText(0, -1) == "100 KHz",
            "the tuning step's text is 100 KHz")
    display = reader.find(prefix="Frequency", role="label")
    f.check(display is not None and abs(value_of(display) - 81.3) < 1e-9, "the frequency's value is 81.3")
    signal = reader.find(prefix="Signal ", role="label")
    f.check(signal is not None and value_of(signal) == 0, "the signal's value is 0")
    scale = reader.find(name="Signal scale", role="label")
    f.check(scale is not None and "S 0 to S 9" in scale.description, "the scale is described in words")
    for node_name in ("ON", "UP", "Volume"):
        node = reader.find(name=node_name)
        f.check(node is not None and "Key" in node.description, "%s tells its key" % node_name)


def check_tuning(reader, f):
    """A new frequency is told whichever control has the focus, and the
    focus stays where it was."""
    steps = [
        (("UP", "push button"), "Page_Up", "81.4 MHz"),
        (("Commands sent", "list"), "Page_Down", "81.3 MHz"),
        (("Volume", "scroll bar"), "u", "81.4 MHz"),
        (("AFC", "check box"), "d", "81.3 MHz"),
        (("Tuning step", "combo box"), "End", "1300 MHz"),
        (("Replies received", "list"), "Home", "0.1 MHz"),
    ]
    for (name, role), key_name, message in steps:
        f.check(reader.focus(name, role), "%s %s takes the focus" % (role, name))
        before = len(reader.notifications)
        key(key_name)
        f.check(wait_until(lambda: len(reader.notifications) > before) and reader.notifications[before] == message,
                "%s on %s tells %r (told: %r)" % (key_name, name, message, reader.notifications[before:]))
        focused = reader.focused_name()
        f.check(focused == name, "%s keeps the focus (focus on %r)" % (name, focused))
        display = reader.find(prefix="Frequency", role="label")
        f.check(display is not None and display.name == "Frequency " + message,
                "the display reads %r" % ("Frequency " + message))

    f.check(reader.focus("UP", "push button"), "UP takes the focus")
    type_frequency(reader, f, "145.5125")
    f.check(reader.told("145.5125 MHz"), "a typed frequency is told (told: %r)" % reader.notifications[-3:])


def check_option_groups(reader, f):
    """Tab enters each option group at its selected button, so the reader
    names the mode and the filter in use; the arrow keys move the selection
    within a group."""
    def focused_option(name):
        def test():
            node = reader.focus_node
            return node is not None and node.name == name and node.getRole() == ROLES["radio button"] \
                and node.getState().contains(pyatspi.STATE_CHECKED)
        return wait_until(test, 5)

    f.check(reader.focus("IF Shift", "scroll bar"), "IF Shift takes the focus")
    key("Tab")
    f.check(focused_option("WFM"), "Tab from IF Shift names the selected mode WFM")
    key("Tab")
    f.check(focused_option("230 KHz"), "the next Tab names the selected filter 230 KHz")
    key("Down")
    f.check(focused_option("2.8 KHz"), "Down selects the first filter, round from the last")
    key("Up")
    f.check(focused_option("230 KHz"), "Up selects 230 KHz again")


def type_frequency(reader, f, text):
    """Types a frequency into the input box that Ctrl opens."""
    key("ctrl")
    f.check(wait_until(lambda: reader.input_box() is not None), "Ctrl opens the input box")
    subprocess.run(["xdotool", "search", "--sync", "--name", "^Input Direct Frequency$", "windowfocus", "--sync"],
                   check=True, timeout=20)
    subprocess.run(["xdotool", "key", "ctrl+a", "BackSpace"], check=True)
    subprocess.run(["xdotool", "type", "--delay", "10", text], check=True)
    with key_held("Return"):
        f.check(wait_until(lambda: reader.input_box() is None), "Return closes the input box")
    focus_window()


def check_receiver(reader, f):
    """Switching on and off, the signal and the scanner, against the
    simulated receiver: 81.3 MHz carries a strong station, and a scanner
    stepping 100 kHz up from there holds first on 82.5 MHz."""
    f.check(reader.focus("DOWN", "push button"), "DOWN takes the focus")
    type_frequency(reader, f, "81.3")
    f.check(reader.told("81.3 MHz"), "81.3 MHz is told")
    signal = reader.find(prefix="Signal ", role="label")

    key("Insert")
    f.check(reader.told("Receiver on"), "switching on is told (told: %r)" % reader.notifications[-3:])
    f.check(reader.find(name="Receiver on", role="label") is not None, "the on/off lamp reads Receiver on")
    f.check(wait_until(lambda: value_of(signal) > 50, 5),
            "the signal's value follows the station (%s)" % value_of(signal))
    f.check(signal.name == "Signal %d of 75" % value_of(signal), "the signal's name tells its level: %r" % signal.name)

    key("shift")
    f.check(reader.told("Scanner running"), "starting the scanner is told")
    f.check(reader.find(name="Scanner running", role="label") is not None, "the scan lamp reads Scanner running")
    f.check(reader.told("82.5 MHz", 8), "the scanner's hold is told (told: %r)" % reader.notifications[-3:])
    stepped = len(reader.notifications)
    key("shift")
    f.check(reader.told("Scanner stopped at 82.5 MHz"),
            "stopping the scanner is told with where it stopped (told: %r)" % reader.notifications[stepped:])
    f.check(reader.find(name="Scanner stopped", role="label") is not None, "the scan lamp reads Scanner stopped")

    key("Delete")
    f.check(reader.told("Receiver off"), "switching off is told")
    f.check(reader.find(name="Receiver off", role="label") is not None, "the on/off lamp reads Receiver off")
    f.check(wait_until(lambda: value_of(signal) == 0, 5) and signal.name == "Signal 0 of 75",
            "switching off empties the signal bar")


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    program = sys.argv[1]
    switch_on = "--switch-on" in sys.argv[2:]
    enable_accessibility()
    process = subprocess.Popen([program])
    f = Failures()
    try:
        app = find_application(os.path.basename(program), process)
        if app is None:
            f.check(False, "%s appears on the accessibility bus" % program)
            return 1
        reader = Reader(app)
        focus_window()
        check_names(reader, f)
        check_tuning(reader, f)
        check_option_groups(reader, f)
        if switch_on:
            check_receiver(reader, f)
        with key_held("Escape"):
            status = process.wait(timeout=10)
        f.check(status == 0, "Escape ends the program (status %d)" % status)
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
    print("%d checks failed" % len(f.messages) if f.messages else "all checks passed", flush=True)
    return 1 if f.messages else 0


if __name__ == "__main__":
    sys.exit(main())
