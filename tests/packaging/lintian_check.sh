#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks a built velmo .deb without installing it (no root needed):
#  - lintian, Debian's package checker, reports no error and no warning,
#    and no hardening tag at info level;
#  - the newest entry of the changelog in the package is the package's
#    version (the version comes from CMake's project(), the changelog is
#    written by hand, so a new version needs a new entry).
#
#   lintian_check.sh PATH/velmo_VERSION_ARCH.deb
set -euo pipefail
deb=${1:?usage: lintian_check.sh PATH/velmo_VERSION_ARCH.deb}

die() { echo "lintian check: FAILED: $*" >&2; exit 1; }

for tool in lintian:lintian dpkg-deb:dpkg dpkg-parsechangelog:dpkg-dev; do
  command -v "${tool%%:*}" >/dev/null || die "${tool%%:*} is missing (Debian package ${tool##*:})"
done

version=$(dpkg-deb --field "$deb" Version)
package=$(dpkg-deb --field "$deb" Package)
changelog=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO "./usr/share/doc/$package/changelog.gz" 2>/dev/null | zcat 2>/dev/null) ||
  die "$(basename "$deb") holds no usr/share/doc/$package/changelog.gz"
logged=$(dpkg-parsechangelog -l - -S Version <<<"$changelog")
[ "$logged" = "$version" ] ||
  die "the package is version $version but its changelog's newest entry is $logged: add an entry to packaging/debian/changelog"

# --fail-on makes warnings fail too; a clean package prints nothing.
# Info-level tags are shown too: the hardening tags are among them.
report=$(lintian --info --display-info --fail-on error,warning "$deb") || {
  echo "$report"
  die "lintian reports the problems above in $(basename "$deb")"
}
echo "$report"
if grep -q 'hardening-' <<<"$report"; then
  die "lintian finds programs built without Debian's hardening in $(basename "$deb")"
fi
echo "lintian check: $(basename "$deb"): no errors or warnings; changelog at $version"
