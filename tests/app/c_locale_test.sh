#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# velmo-demo and velmo-bench print numbers with a decimal point whatever
# the user's locale: run under de_DE.UTF-8, which writes a decimal comma
# (made for the test in a scratch folder with localedef), the report of a
# demo scanner pass has no comma in a number, and the bench's load figure
# is the load as /proc/loadavg gives it, fraction and all.
# Skipped (77) where no de_DE locale can be made (Debian package locales).
#
#   c_locale_test.sh PATH/velmo-demo PATH/velmo-bench
set -euo pipefail
demo=${1:?usage: c_locale_test.sh PATH/velmo-demo PATH/velmo-bench}
bench=${2:?usage: c_locale_test.sh PATH/velmo-demo PATH/velmo-bench}
export QT_QPA_PLATFORM=offscreen
# shellcheck source=../support/script_support.sh
source "$(dirname "$0")/../support/script_support.sh"

command -v localedef >/dev/null || { echo "skipped: no localedef"; exit 77; }
localedef -i de_DE -f UTF-8 "$scratch/de_DE.UTF-8" >/dev/null 2>&1 ||
  { echo "skipped: no de_DE locale source (Debian package locales)"; exit 77; }
export LOCPATH=$scratch LC_ALL=de_DE.UTF-8
comma=$(bash -c 'printf "%.1f" 1' 2>/dev/null || true)
[ "$comma" = "1,0" ] || { echo "FAILED: the de_DE locale made for the test writes 1.0 as '$comma'" >&2; exit 1; }

# A pass over a stretch of the band where no station is.
status=0
timeout 60 "$demo" --pass 81.4 82.4 --no-wire-timing >"$scratch/demo.out" 2>"$scratch/demo.err" || status=$?
cat "$scratch/demo.out"
[ "$status" -eq 0 ] || { cat "$scratch/demo.err" >&2; fail "the demo pass ended with $status"; }
grep -Eq '^pass 81\.400-82\.400 MHz in [0-9]+\.[0-9] s: .* [0-9]+\.[0-9]{2} steps/s between holds$' "$scratch/demo.out" ||
  fail "the demo's report is not written as in the C locale"
! grep -Eq '[0-9],[0-9]' "$scratch/demo.out" || fail "the demo wrote a number with a decimal comma"

# The load is read before and after the run: the bench's reading, taken in
# between, is one of the two (it changes every 5 s).
before=$(cut -d' ' -f1 /proc/loadavg)
status=0
timeout 120 "$bench" --only startup >"$scratch/bench.out" 2>"$scratch/bench.err" || status=$?
after=$(cut -d' ' -f1 /proc/loadavg)
cat "$scratch/bench.out"
[ "$status" -eq 0 ] || { cat "$scratch/bench.err" >&2; fail "the bench ended with $status"; }
load=$(awk '$1 == "startup_load_1min_before" { print $2 }' "$scratch/bench.out")
LC_ALL=C awk -v got="$load" -v a="$before" -v b="$after" \
  'BEGIN { d1 = got - a; d2 = got - b; exit !(got != "" && (d1 * d1 < 1e-5 || d2 * d2 < 1e-5)) }' ||
  fail "the bench's load figure is '$load', /proc/loadavg said $before then $after"
! grep -Eq '[0-9],[0-9]' "$scratch/bench.out" || fail "the bench wrote a number with a decimal comma"

[ "$failures" -eq 0 ] || exit 1
echo "passed"
