#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Runs the Windows serial link's tests under Wine, with COM5 and COM6 of
the prefix joined by a null-modem cable of two pseudo-terminals. The test
that hangs the cable up gets a cable of its own.

    serial_link_test.py --wine-run WINE_RUN --prefix DIR --program velmo_win_serial_link_tests.exe
"""

import sys

from wine_session import NullModem, Wine, arguments

HANG_UP_TESTS = "*HungUp*"


def run(wine, program, test_filter):
    cable = NullModem()
    try:
        wine.map_ports({"COM5": cable.near, "COM6": cable.far})
        return wine.run(program, f"--gtest_filter={test_filter}").returncode
    finally:
        wine.stop()
        cable.close()


def main():
    args = arguments("wine-run", "prefix", "program")
    wine = Wine(args.wine_run, args.prefix)
    failed = run(wine, args.program, f"-{HANG_UP_TESTS}")
    failed |= run(wine, args.program, HANG_UP_TESTS)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
