#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""The setup program under Wine, run silently as an administrator's script
would: it installs exactly the files laid out for Windows into Program
Files\\Velmo with the uninstaller, Start-menu entries and the entry of
Windows' installed apps; the installed Velmo_1.exe starts from there with
its own DLLs alone and Escape ends it; the uninstaller, run silently,
leaves no file, entry or key behind.

    setup_test.py --wine-run WINE_RUN --prefix DIR --setup SETUP.exe --folder LAID_OUT_FOLDER
"""

import os
import sys

from wine_session import Display, Failures, Running, Wine, arguments, ended_within, find_window, press

UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmo"
LINKS = ["Velmo on COM1.lnk", "Velmo on COM2.lnk", "Velmo on COM3.lnk", "Velmo demo (simulated receiver).lnk"]


def files_under(folder):
    found = set()
    for base, _, names in os.walk(folder):
        for name in names:
            found.add(os.path.relpath(os.path.join(base, name), folder).lower())
    return found


def main():
    args = arguments("wine-run", "prefix", "setup", "folder")
    check = Failures()
    wine = Wine(args.wine_run, args.prefix)
    # The installed programs must find every DLL in their own folder.
    wine.overrides["VELMO_WINEPATH"] = ""
    installed = os.path.join(args.prefix, "drive_c", "Program Files", "Velmo")
    menu = os.path.join(args.prefix, "drive_c", "ProgramData", "Microsoft", "Windows", "Start Menu", "Programs",
                        "Velmo")
    wine.stop()

    setup = wine.run(args.setup, "/S")
    wine.settle()
    check.check(setup.returncode == 0, f"the setup program ends with status 0 ({setup.returncode})")
    expected = files_under(args.folder) | {"uninstall.exe"}
    present = files_under(installed)
    check.check(present == expected, f"Program Files\\Velmo holds exactly the files laid out and the uninstaller "
                f"(missing {sorted(expected - present)}, extra {sorted(present - expected)})")
    links = sorted(os.listdir(menu)) if os.path.isdir(menu) else []
    check.check(links == sorted(LINKS), f"the Start menu has an entry for each port and the demo ({links})")
    key = wine.run("reg", "query", UNINSTALL_KEY, capture_output=True, text=True)
    check.check(key.returncode == 0 and "Uninstall.exe" in key.stdout and "DisplayName" in key.stdout,
                "Windows' installed apps list Velmo with its uninstaller")

    with Display():
        with Running(wine, r"C:\Program Files\Velmo\Velmo_1.exe") as program:
            window = find_window()
            if check.check(window is not None, "the installed Velmo_1.exe starts with its own DLLs"):
                press(window, "Escape")
                check.check(ended_within(program, 10) and program.returncode == 0,
                            f"Escape ends it with status 0 ({program.returncode})")
        wine.stop()

    # The uninstaller copies itself away and runs from there: the server's
    # end is the uninstall's end.
    wine.run(r"C:\Program Files\Velmo\Uninstall.exe", "/S")
    wine.settle()
    check.check(not os.path.exists(installed), f"the uninstaller removes Program Files\\Velmo "
                f"(left: {sorted(files_under(installed)) if os.path.isdir(installed) else []})")
    check.check(not os.path.exists(menu), "the uninstaller removes the Start-menu entries")
    key = wine.run("reg", "query", UNINSTALL_KEY, capture_output=True, text=True)
    check.check(key.returncode != 0, "the uninstaller removes the installed-apps entry")
    return check.close()


if __name__ == "__main__":
    sys.exit(main())
