#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The installed-package check leaves the system as it found it:
#  - with an X server that exits at once (a fake Xvfb first on PATH) the
#    check fails, and afterwards no velmo package is installed, no program
#    it started runs on, and nothing is left in its temporary folder;
#  - a velmo package that was installed before is left as it was: the check
#    refuses to run.
# It installs packages into this system, so it runs only when asked for
# (VELMO_INSTALL_CHECK=1, which scripts/test --install-check sets), as root
# and with dpkg; otherwise it is skipped (status 77).
#
#   install_check_cleanup_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=${1:?usage: install_check_cleanup_test.sh SOURCE_DIR BUILD_DIR}
build_dir=${2:?usage: install_check_cleanup_test.sh SOURCE_DIR BUILD_DIR}
check=$source_dir/tests/packaging/installed_package_check.sh

skip() { echo "skipped: $*"; exit 77; }
fail() { echo "FAILED: $*" >&2; exit 1; }

[ "${VELMO_INSTALL_CHECK:-}" = 1 ] ||
  skip "installs packages into this system; runs with scripts/test --install-check (VELMO_INSTALL_CHECK=1)"
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
for tool in dpkg dpkg-deb dpkg-query dpkg-shlibdeps cpack rsvg-convert xdotool desktop-file-validate appstreamcli file; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done

velmo_state() { dpkg-query -W -f='${db:Status-Status}' velmo 2>/dev/null || true; }
no_velmo() { local s; s=$(velmo_state); [ -z "$s" ] || [ "$s" = not-installed ]; }
no_velmo || skip "a velmo package is installed on this system already"

work=$(mktemp -d)
cleanup() {
  set +e
  no_velmo || dpkg --purge velmo >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

echo "== building the package"
"$source_dir/scripts/package" "$build_dir" >"$work/package.log" 2>&1 || {
  cat "$work/package.log"
  fail "could not build the package"
}
debs=("$build_dir"/package/velmo_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one velmo_*.deb in $build_dir/package"
deb=${debs[0]}

echo "== the check with an X server that exits at once"
mkdir "$work/bin" "$work/tmp"
printf '#!/bin/sh\nexit 1\n' >"$work/bin/Xvfb"
chmod +x "$work/bin/Xvfb"
status=0
PATH="$work/bin:$PATH" TMPDIR="$work/tmp" "$check" "$deb" >"$work/check.log" 2>&1 || status=$?
cat "$work/check.log"
[ "$status" -ne 0 ] || fail "the check passed although the X server never started"
grep -q "Xvfb did not start" "$work/check.log" || fail "the check did not get as far as the X server"
no_velmo || fail "velmo is left installed ($(velmo_state))"
for proc in /proc/[0-9]*; do
  case $(readlink "$proc/exe" 2>/dev/null) in
    /usr/bin/Velmo_1*) fail "the installed Velmo_1 still runs (${proc#/proc/})" ;;
  esac
done
[ -z "$(ls -A "$work/tmp")" ] || fail "left in its temporary folder: $(ls -A "$work/tmp")"
echo "failed as it should, and left nothing installed"

echo "== the check with a velmo installed before"
mkdir -p "$work/earlier/DEBIAN" "$work/earlier/usr/share/velmo-earlier"
cat >"$work/earlier/DEBIAN/control" <<'CONTROL'
Package: velmo
Version: 0.0~earlier
Architecture: all
Maintainer: Velmo tests <velmo-tests@localhost>
Description: stands in for a velmo installed before the check
CONTROL
echo earlier >"$work/earlier/usr/share/velmo-earlier/marker"
dpkg-deb --root-owner-group --build "$work/earlier" "$work/earlier.deb" >/dev/null
dpkg -i "$work/earlier.deb" >/dev/null
status=0
"$check" "$deb" >"$work/check.log" 2>&1 || status=$?
cat "$work/check.log"
[ "$status" -eq 2 ] || fail "the check did not refuse (status $status)"
[ "$(dpkg-query -W -f='${Version}' velmo)" = "0.0~earlier" ] || fail "the earlier velmo was replaced"
[ -f /usr/share/velmo-earlier/marker ] || fail "the earlier velmo's files are gone"
dpkg --purge velmo >/dev/null
echo "refused, and left the earlier velmo as it was"
