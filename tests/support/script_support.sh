# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the test scripts: failures counted by fail(), and a scratch
# folder, with a runtime folder of its own for Qt, removed on exit.
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_RUNTIME_DIR=$scratch/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"
