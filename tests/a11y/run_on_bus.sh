#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs an accessibility test on a desktop of its own: an X server (Xvfb) and
# a session D-Bus (dbus-run-session), on which the AT-SPI bus starts when the
# test turns accessibility on. Exits 77 (skipped) when these cannot be had.
#   run_on_bus.sh COMMAND ARGS...
set -uo pipefail

for tool in Xvfb dbus-run-session xdotool /usr/libexec/at-spi-bus-launcher /usr/bin/python3; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is missing (scripts/bootstrap installs it)"
    exit 77
  fi
done
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "SKIP: python3-pyatspi is missing (scripts/bootstrap installs it)"
  exit 77
fi

# A private runtime directory: the AT-SPI bus puts its socket there, and no
# other session's bus is found by mistake.
runtime=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$runtime"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$runtime
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
export QT_QPA_PLATFORM=xcb

# Xvfb picks a free display itself and names it once it is ready, so tests
# running side by side never race for one. It must not reset when its first
# client (the AT-SPI bus launcher, which marks the root window) goes. A key
# held down does not repeat (-r), so that a test can hold one for as long as
# it waits.
mkfifo "$runtime/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset -r 3>"$runtime/display" 2>"$runtime/xvfb.log" &
xvfb_pid=$!
read -r -t 20 display <"$runtime/display"
if [ -z "${display:-}" ]; then
  echo "SKIP: Xvfb did not start: $(cat "$runtime/xvfb.log")"
  exit 77
fi
export DISPLAY=:$display

dbus-run-session -- "$@"
status=$?
if [ "$status" -ne 0 ]; then
  # A test killed by a signal takes its X connection with it: the bus
  # launcher then reports the display as broken, though the server is fine.
  # The server's own log tells the two apart.
  [ "$status" -gt 128 ] && echo "run_on_bus.sh: the test was killed by signal $((status - 128)) ($(kill -l $((status - 128)) 2>/dev/null))"
  if kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "run_on_bus.sh: Xvfb is still running; its log:"
  else
    echo "run_on_bus.sh: Xvfb is gone; its log:"
  fi
  cat "$runtime/xvfb.log"
fi
exit "$status"
