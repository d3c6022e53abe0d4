#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the velmo .deb with dpkg and checks it as a user would meet it:
# the package fields, the installed tree, and the installed Velmo_1 started
#  - offscreen: it must come up and stay up until it is stopped;
#  - on a virtual X display (Xvfb): its window must appear with the
#    launcher's window class, and the Escape key, typed through the X server
#    with xdotool, must end it with status 0.
# Whatever happens, passed, failed or interrupted, the programs it started
# are stopped and the package is purged again. It will not run on a system
# that has a velmo package already: that one would be replaced.
#
#   installed_package_check.sh PATH/velmo_VERSION_ARCH.deb
set -euo pipefail
deb=${1:?usage: installed_package_check.sh PATH/velmo_VERSION_ARCH.deb}
here=$(cd "$(dirname "$0")" && pwd)
title='Velmo - ICOM PCR1000'

say() { echo "package check: $*"; }
die() { echo "package check: FAILED: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || die "installing the package needs root"
for tool in dpkg Xvfb xdotool desktop-file-validate appstreamcli file; do
  command -v "$tool" >/dev/null || die "$tool is not installed"
done
[ -f "$deb" ] || die "no package at $deb"

# dpkg's state of velmo: installed, config-files, half-installed, ...; empty
# or not-installed when there is none.
velmo_state() { dpkg-query -W -f='${db:Status-Status}' velmo 2>/dev/null || true; }
state=$(velmo_state)
if [ -n "$state" ] && [ "$state" != not-installed ]; then
  version=$(dpkg-query -W -f='${Version}' velmo 2>/dev/null || true)
  echo "package check: velmo ${version:-?} is on this system ($state). The check installs the" >&2
  echo "package it is given and purges it afterwards, so it would replace that one; it does" >&2
  echo "not run here. Remove velmo first (sudo dpkg -r velmo), or check on a scratch machine." >&2
  exit 2
fi

scratch=$(mktemp -d)
app_pid=
x_pid=
installed=0

# Ends a program this script started, if it still runs; never fails.
stop() {  # stop PID
  local pid=$1 tries=50
  [ -n "$pid" ] || return 0
  kill -TERM "$pid" 2>/dev/null || true
  while kill -0 "$pid" 2>/dev/null && [ "$tries" -gt 0 ]; do
    sleep 0.1
    tries=$((tries - 1))
  done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

# Runs on every way out. Nothing in it may end it early: each step goes on
# whatever the one before did, and the check's own status is kept unless
# the package could not be removed.
cleanup() {
  local status=$?
  set +e
  trap - EXIT INT TERM HUP
  stop "$app_pid"
  stop "$x_pid"
  if [ "$installed" -eq 1 ]; then
    dpkg --purge velmo >"$scratch/purge.log" 2>&1 || cat "$scratch/purge.log" >&2
    local left
    left=$(velmo_state)
    if [ -n "$left" ] && [ "$left" != not-installed ]; then
      echo "package check: FAILED: velmo is still on this system ($left); remove it with: sudo dpkg --purge velmo" >&2
      [ "$status" -ne 0 ] || status=1
    fi
  fi
  rm -rf "$scratch"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# Waits up to SECONDS for COMMAND to succeed.
wait_for() {  # wait_for SECONDS COMMAND...
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}
not_running() { ! kill -0 "$1" 2>/dev/null; }

say "installing $(basename "$deb")"
installed=1
dpkg -i "$deb" || die "dpkg -i failed"

fields=$(dpkg-query -W -f='${Section}|${Maintainer}|${Depends}' velmo)
IFS='|' read -r section maintainer depends <<<"$fields"
[ "$section" = hamradio ] || die "section is '$section', not hamradio"
[ -n "$maintainer" ] || die "no maintainer"
for lib in libqt6widgets6 libqt6serialport6; do
  grep -q "\b$lib\b" <<<"$depends" || die "Depends lacks $lib (shlibdeps): $depends"
done
"$here/check_installed_tree.sh" /usr || die "the installed tree is incomplete"
[ "$(command -v Velmo_1)" = /usr/bin/Velmo_1 ] || die "Velmo_1 is not found on PATH as /usr/bin/Velmo_1"

# A clean environment, as a desktop launcher would give.
export XDG_RUNTIME_DIR=$scratch/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"
run_env=(env -i PATH=/usr/bin:/bin HOME="$scratch" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" LANG=C.UTF-8)

say "starting Velmo_1 offscreen"
"${run_env[@]}" QT_QPA_PLATFORM=offscreen Velmo_1 >"$scratch/offscreen.log" 2>&1 &
app_pid=$!
# An early exit (a missing library or plugin, a crash at start) shows here;
# a slow machine only makes this wait pass later.
if wait_for 2 not_running "$app_pid"; then
  status=0
  wait "$app_pid" || status=$?
  app_pid=
  cat "$scratch/offscreen.log" >&2
  die "Velmo_1 ended by itself within 2 s, status $status"
fi
kill -TERM "$app_pid"
status=0
wait "$app_pid" || status=$?
app_pid=
[ "$status" -eq 143 ] || { cat "$scratch/offscreen.log" >&2; die "offscreen Velmo_1 ended with $status, not by SIGTERM"; }
say "offscreen Velmo_1 stayed up until stopped"

say "starting a virtual X display"
Xvfb -nolisten tcp -displayfd 3 3>"$scratch/display" 2>"$scratch/xvfb.log" &
x_pid=$!
display_ready() { [ -s "$scratch/display" ]; }
ready_or_gone() { display_ready || not_running "$x_pid"; }
wait_for 10 ready_or_gone || true
display_ready || { cat "$scratch/xvfb.log" >&2; die "Xvfb did not start"; }
export DISPLAY=:$(head -n 1 "$scratch/display")

say "starting Velmo_1 on $DISPLAY"
"${run_env[@]}" DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb Velmo_1 >"$scratch/x.log" 2>&1 &
app_pid=$!
# The window is looked up by its title and by the class that the launcher's
# StartupWMClass names, so that desktops tie the window to its launcher.
window=$(timeout 15 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1) || true
[ -n "$window" ] || { cat "$scratch/x.log" >&2; die "no visible window '$title'"; }
xdotool search --onlyvisible --class '^Velmo_1$' | grep -qx "$window" ||
  die "the window's class is not Velmo_1, which the launcher's StartupWMClass names"
kill -0 "$app_pid" 2>/dev/null || die "Velmo_1 ended before it got a key"
timeout 10 xdotool windowfocus --sync "$window" || die "could not give the window the focus"
xdotool key Escape
wait_for 10 not_running "$app_pid" || die "Velmo_1 is still running 10 s after Escape"
status=0
wait "$app_pid" || status=$?
app_pid=
[ "$status" -eq 0 ] || { cat "$scratch/x.log" >&2; die "Velmo_1 ended with status $status after Escape"; }
say "Velmo_1 came up on X and ended with status 0 on Escape"
say "passed"
