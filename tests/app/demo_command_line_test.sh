#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# velmo-demo's command line: every wrong one is refused with the usage and
# status 2 before any window opens.
#
#   demo_command_line_test.sh PATH/velmo-demo
set -euo pipefail
demo=${1:?usage: demo_command_line_test.sh PATH/velmo-demo}
export QT_QPA_PLATFORM=offscreen
# shellcheck source=../support/script_support.sh
source "$(dirname "$0")/../support/script_support.sh"

# Wrong arguments: the usage on standard error, status 2, no window.
while read -r -a args; do
  status=0
  timeout 20 "$demo" "${args[@]}" >"$scratch/out" 2>"$scratch/err" || status=$?
  [ "$status" -eq 2 ] || fail "'${args[*]}' ended with $status, not 2"
  grep -q '^usage: velmo-demo' "$scratch/err" || fail "'${args[*]}' did not show the usage"
done <<'ARGS'
--frobnicate
extra
--tour
--tour a b
--tour a --tour b
--pass
--pass 80
--pass 80 90 100
--pass 90 80
--pass 80 80
--pass 0 10
--pass 0.09 10
--pass 1 1301
--pass x 90
--pass 80 90x
--pass 80,5 90
--pass 80 90 --tour a
--help
ARGS

[ "$failures" -eq 0 ] || exit 1
echo "passed"
