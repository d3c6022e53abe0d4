#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The programs as built carry Debian's hardening: hardening-check (Debian's
# devscripts) finds PIE, the stack protector, fortified functions, RELRO
# and immediate binding in each. Exits 77 (skipped) without hardening-check.
#
#   hardening_test.sh PROGRAM...
#
# The panel programs make no libc call whose size the compiler knows (their
# only ones are std::string's and std::vector's memcpy, memmove and memset,
# sized at run time), so fortify has nothing to replace in them and
# hardening-check's fortify item, by its own account, gives a false alarm
# there: a program may fail that item only when those three are all it
# found. The build adds the test only when it compiles with the flags.
set -euo pipefail
command -v hardening-check >/dev/null || { echo "skipped: hardening-check is not installed (Debian package devscripts)"; exit 77; }

failed=0
for program in "$@"; do
  # Control flow integrity (-fcf-protection) is not among Debian 12's flags.
  report=$(hardening-check --verbose --nocfprotection "$program" 2>&1) || true
  echo "$report"
  for item in "Position Independent Executable" "Stack protected" "Read-only relocations" "Immediate binding"; do
    grep -q "^ $item: yes" <<<"$report" || { echo "hardening check: FAILED: $program: $item" >&2; failed=1; }
  done
  # Fortify: protected functions found, or none that fortify could have
  # protected (the three sized at run time).
  if ! grep -q '^ Fortify Source functions: yes' <<<"$report"; then
    unprotected=$(grep -E '^\s+unprotected:' <<<"$report" || true)
    if ! grep -q '^ Fortify Source functions: no, only unprotected functions found' <<<"$report" ||
      grep -vqE 'unprotected: (memcpy|memmove|memset)$' <<<"$unprotected"; then
      echo "hardening check: FAILED: $program: Fortify Source functions" >&2
      failed=1
    fi
  fi
done
exit "$failed"
