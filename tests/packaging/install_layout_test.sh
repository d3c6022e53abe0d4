#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the build into a scratch DESTDIR and checks the installed tree.
# Exits 77 (skipped) when a tool the check needs is not on this machine.
#
#   install_layout_test.sh BUILD_DIR
set -euo pipefail
build_dir=${1:?usage: install_layout_test.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)

for tool in desktop-file-validate appstreamcli file zcat; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

destdir=$(mktemp -d)
trap 'rm -rf "$destdir"' EXIT
DESTDIR=$destdir cmake --install "$build_dir" --prefix /usr >/dev/null
"$here/check_installed_tree.sh" "$destdir/usr"
echo "installed tree is complete"
