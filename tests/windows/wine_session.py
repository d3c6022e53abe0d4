# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""What the Windows tests share: a virtual X display, a Wine prefix whose
COM1 is a given device, the simulated receiver on a pseudo-terminal with
its log of every line, and a Windows program started on the display and
driven by keys as a user would (xdotool)."""

import argparse
import os
import pty
import select
import re
import subprocess
import sys
import tempfile
import threading
import time
import tty

TITLE = "Velmo - ICOM PCR1000"
LOG_LINE = re.compile(r"^\s*(\d+\.\d+) (<-|->) (.*)$")


class Failures:
    def __init__(self):
        self.count = 0
        self.passed = 0

    def check(self, ok, what):
        if ok:
            self.passed += 1
            print(f"ok: {what}", flush=True)
        else:
            self.count += 1
            print(f"FAILED: {what}", flush=True)
        return ok

    def close(self):
        print(f"{self.passed} passed, {self.count} failed", flush=True)
        return 1 if self.count else 0


def arguments(*names):
    """The script's required options, each --NAME VALUE."""
    parser = argparse.ArgumentParser()
    for name in names:
        parser.add_argument(f"--{name}", required=True)
    return parser.parse_args()


class Running:
    """A Windows program started under Wine for the length of the block;
    killed at its end if it is still running."""

    def __init__(self, wine, *args):
        self.process = wine.start(*args)

    def __enter__(self):
        return self.process

    def __exit__(self, *exc):
        if self.process.poll() is None:
            self.process.kill()


class Display:
    """Xvfb on a free display number with a window manager, for as long as
    the block lasts. A desktop has one, and Wine relies on it: a window
    that Wine hands to the window manager is withdrawn by it, and with no
    manager there Wine waits two seconds for that on every window it
    destroys, a program's end included."""

    def __enter__(self):
        read, write = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=(write,), stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            number = f.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.name = f":{number}"
        os.environ["DISPLAY"] = self.name
        # Once in a CI run openbox ended at once, for a reason not yet known:
        # it is started a second time, and what it said is shown each time.
        for attempt in (1, 2):
            said = tempfile.TemporaryFile(mode="w+")
            self.manager = subprocess.Popen(["openbox", "--sm-disable"], stdout=said, stderr=subprocess.STDOUT)
            if self._manager_ready(10):
                return self
            self.manager.kill()
            status = self.manager.wait()
            said.seek(0)
            print(f"wine_session: openbox (attempt {attempt}) ended with status {status} before it managed the "
                  f"display: {said.read().strip()!r}", file=sys.stderr)
        self.__exit__()
        raise RuntimeError("the window manager (openbox) did not start on the virtual display")

    def _manager_ready(self, limit):
        """A window manager that runs names its check window on the root."""
        deadline = time.monotonic() + limit
        while time.monotonic() < deadline:
            found = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], capture_output=True, text=True)
            if "window id" in found.stdout:
                return True
            if self.manager.poll() is not None:
                return False
            time.sleep(0.05)
        return False

    def __exit__(self, *exc):
        for process in (self.manager, self.process):
            process.terminate()
            process.wait()


class Wine:
    """A Wine prefix of the tests' own (made by the build's wine-run on
    first use), whose COM1 the tests point at a device."""

    def __init__(self, wine_run, prefix):
        self.wine_run = wine_run
        # Taken with the environment of the moment (the display) at each call.
        self.overrides = {"VELMO_WINEPREFIX": prefix, "WINEPREFIX": prefix, "WINEDEBUG": "-all"}

    @property
    def env(self):
        return dict(os.environ, **self.overrides)

    def run(self, *args, **kwargs):
        return subprocess.run([self.wine_run, *args], env=self.env, **kwargs)

    def start(self, *args):
        return subprocess.Popen([self.wine_run, *args], env=self.env)

    def map_com1(self, device):
        self.map_ports({"COM1": device})

    def map_ports(self, devices):
        """Wine reads its COM ports from the registry when it starts: the
        server is stopped so that the next program sees the new mapping."""
        for port, device in devices.items():
            self.run("reg", "add", r"HKLM\Software\Wine\Ports", "/v", port, "/d", device, "/f",
                     check=True, stdout=subprocess.DEVNULL)
        self.stop()

    def stop(self):
        """Ends every program of the prefix, and the server."""
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        self.settle()

    def settle(self):
        """Waits until every program of the prefix has ended by itself."""
        subprocess.run(["wineserver", "-w"], env=self.env)


class NullModem:
    """Two pseudo-terminals joined as a null-modem cable joins two serial
    ports: what a program writes to one the other reads. The far end can
    pull the cable out of the near one by writing HANG_UP, as an unplugged
    adapter hangs up its terminal; those bytes go no further."""

    HANG_UP = b"~velmo: hang up the near end~"

    def __init__(self):
        self.masters = []
        self.slaves = []
        for _ in range(2):
            master, slave = pty.openpty()
            tty.setraw(slave)
            self.masters.append(master)
            # Held open here, so that the terminals last while Wine closes
            # and opens them again.
            self.slaves.append(slave)
        self.near, self.far = (os.ttyname(slave) for slave in self.slaves)
        self.running = True
        self.relay = threading.Thread(target=self._relay, daemon=True)
        self.relay.start()

    def _relay(self):
        near, far = self.masters
        pending = b""
        while self.running:
            ready, _, _ = select.select([m for m in (near, far) if m is not None], [], [], 0.1)
            for master in ready:
                try:
                    data = os.read(master, 65536)
                except OSError:
                    data = b""
                if master == far:
                    pending += data
                    if self.HANG_UP in pending:
                        before = pending[: pending.index(self.HANG_UP)]
                        if before and near is not None:
                            os.write(near, before)
                        self._hang_up()
                        near = None
                        pending = b""
                        continue
                    # Only a part of the marker can still be coming.
                    keep = next((n for n in range(len(self.HANG_UP) - 1, 0, -1)
                                 if pending.endswith(self.HANG_UP[:n])), 0)
                    out, pending = pending[: len(pending) - keep], pending[len(pending) - keep:]
                    if out and near is not None:
                        self._write_all(near, out)
                elif data:
                    self._write_all(far, data)

    @staticmethod
    def _write_all(fd, data):
        while data:
            data = data[os.write(fd, data):]

    def _hang_up(self):
        os.close(self.masters[0])
        os.close(self.slaves[0])
        self.masters[0] = self.slaves[0] = None

    def close(self):
        self.running = False
        self.relay.join()
        for fd in self.masters + self.slaves:
            if fd is not None:
                os.close(fd)


class Receiver:
    """velmo-sim on a pseudo-terminal; every line either way, with the
    time it crossed, from its log."""

    def __init__(self, sim):
        self.process = subprocess.Popen([sim, "--log"], stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.path = self.process.stdout.readline().strip()
        if not self.path.startswith("/dev/"):
            raise RuntimeError(f"velmo-sim gave no terminal: {self.path!r}")
        self.lines = []  # (seconds since velmo-sim started, "<-" or "->", text)
        self.lock = threading.Lock()
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        # The log's clock and ours, tied together now.
        self.started = time.monotonic()

    def _read(self):
        for line in self.process.stderr:
            match = LOG_LINE.match(line.rstrip("\n"))
            if match:
                text = match.group(3)
                for ending in ("\\r\\n", "\\r", "\\n"):
                    if text.endswith(ending):
                        text = text[: -len(ending)]
                        break
                with self.lock:
                    self.lines.append((float(match.group(1)), match.group(2), text))

    def commands(self, since=0):
        """What the program sent, from entry `since` of the log on."""
        with self.lock:
            return [(at, text) for at, way, text in self.lines[since:] if way == "<-"]

    def mark(self):
        with self.lock:
            return len(self.lines)

    def wait_for(self, predicate, limit, since=0):
        deadline = time.monotonic() + limit
        while time.monotonic() < deadline:
            found = predicate(self.commands(since))
            if found:
                return found
            time.sleep(0.02)
        return predicate(self.commands(since))

    def close(self):
        self.process.terminate()
        self.process.wait()


def title_pattern(title):
    """An anchored POSIX extended expression (xdotool's) for this title."""
    return "^" + re.sub(r"([.^$*+?()\[\]{}|\\])", r"\\\1", title) + "$"


def find_window(title=TITLE, limit=60):
    """The first visible window with this exact title. xdotool's search
    gives up with an X error when a window it is looking at is destroyed
    meanwhile (another program's window closing), so it is asked again
    until the limit."""
    deadline = time.monotonic() + limit
    while True:
        left = deadline - time.monotonic()
        if left <= 0:
            return None
        result = subprocess.run(["timeout", f"{left:.1f}", "xdotool", "search", "--sync", "--onlyvisible", "--name",
                                 title_pattern(title)], capture_output=True, text=True)
        windows = result.stdout.split()
        if windows:
            return windows[0]
        if result.stderr.strip():
            print(f"find_window: xdotool said: {result.stderr.strip()} (asking again)", file=sys.stderr)
        time.sleep(0.1)


def windows_named(title=TITLE):
    result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title_pattern(title)],
                            capture_output=True, text=True)
    return result.stdout.split()


def press(window, *keys):
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=False, timeout=10)
    for key in keys:
        subprocess.run(["xdotool", "key", "--clearmodifiers", key], check=True, timeout=10)


def type_text(window, text):
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=False, timeout=10)
    subprocess.run(["xdotool", "type", "--delay", "50", text], check=True, timeout=30)


def ended_within(process, limit):
    try:
        process.wait(limit)
        return True
    except subprocess.TimeoutExpired:
        return False


def scratch():
    return tempfile.mkdtemp(prefix="velmo-windows-")
