#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks what an installation of Velmo put under PREFIX (e.g. /usr, or
# $DESTDIR/usr): each panel program with its launcher, icon and man page, the
# AppStream data, and the copyright file and changelog. Prints every problem
# and exits 1 if there was one.
#
#   check_installed_tree.sh PREFIX
set -uo pipefail
prefix=${1:?usage: check_installed_tree.sh PREFIX}
app_id=io.github.velmo.Velmo
problems=0

problem() {
  echo "installed tree: $*" >&2
  problems=1
}

desktop_value() {  # desktop_value FILE KEY
  sed -n "s/^$2=//p" "$1" | head -n 1
}

png_size_is() {  # png_size_is FILE N
  file -b "$1" | grep -q "^PNG image data, $2 x $2,"
}

# Each program and the serial port it opens: port N means /dev/velmoN, or
# else /dev/ttyS(N-1).
for entry in Velmo_1:1 Velmo_2:2 Velmo:3; do
  program=${entry%%:*}
  port=${entry##*:}
  [ -x "$prefix/bin/$program" ] || problem "$prefix/bin/$program is missing or not executable"

  desktop=$prefix/share/applications/io.github.velmo.$program.desktop
  if [ ! -f "$desktop" ]; then
    problem "$desktop is missing"
  else
    exec_line=$(desktop_value "$desktop" Exec)
    [ "${exec_line%% *}" = "$program" ] || problem "$desktop starts '$exec_line', not $program"
    [ "$(desktop_value "$desktop" StartupWMClass)" = "$program" ] ||
      problem "$desktop: StartupWMClass is not $program, the program's window class"
    out=$(desktop-file-validate "$desktop" 2>&1) || true
    [ -z "$out" ] || problem "$out"

    icon=$(desktop_value "$desktop" Icon)
    [ "$icon" = "$app_id" ] || problem "$desktop: Icon is '$icon', not $app_id"
  fi

  page=$prefix/share/man/man1/$program.1.gz
  if [ ! -f "$page" ]; then
    problem "$page is missing"
  else
    text=$(zcat "$page")
    grep -q "^\.TH $program 1 " <<<"$text" || problem "$page is not the page of $program"
    grep -q "/dev/velmo$port\b" <<<"$text" || problem "$page does not name /dev/velmo$port"
    grep -q "/dev/ttyS$((port - 1))\b" <<<"$text" || problem "$page does not name /dev/ttyS$((port - 1))"
    grep -q "serial port $port\$" <<<"$text" || problem "$page does not say it uses serial port $port"
  fi
done

# The launchers' icon in the hicolor theme, scalable and at every size.
[ -f "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg" ] || problem "no scalable icon $app_id.svg"
for size in 16 22 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
  if [ ! -f "$png" ]; then
    problem "$png is missing"
  elif ! png_size_is "$png" "$size"; then
    problem "$png is not a ${size}x${size} PNG: $(file -b "$png")"
  fi
done

for program in velmo-demo velmo-sim; do
  if [ -e "$prefix/bin/$program" ] && [ ! -f "$prefix/share/man/man1/$program.1.gz" ]; then
    problem "$program is installed without its man page"
  fi
done

metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
if [ ! -f "$metainfo" ]; then
  problem "$metainfo is missing"
else
  appstreamcli validate --no-net --no-color "$metainfo" >/dev/null 2>&1 ||
    problem "$metainfo does not validate"
  grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo" ||
    problem "$metainfo does not name the licence GPL-3.0-or-later"
  for launchable in $(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo"); do
    [ -f "$prefix/share/applications/$launchable" ] || problem "$metainfo launches $launchable, which is not installed"
  done
fi

# Debian's copyright file and the changelog, gzipped.
for doc in copyright changelog.gz; do
  [ -f "$prefix/share/doc/velmo/$doc" ] || problem "$prefix/share/doc/velmo/$doc is missing"
done

exit "$problems"
