#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Lays out Velmo for Windows as it is installed: the programs, the Qt
plugins they load at run time, and every DLL that any of these imports,
found by reading their import tables (objdump -p) and followed to the DLLs
those import in turn. A DLL found in none of the search folders is one of
Windows' own and is left out. Writes the folder, and beside it the lists
of files that the setup program installs and removes.

    deploy.py --objdump OBJDUMP --strip STRIP --search DIR... --plugin-dir QT_PLUGIN_DIR
              --plugins CATEGORY/NAME.dll... --extra SOURCE=NAME... --out DIR PROGRAM.exe...
"""

import argparse
import os
import re
import shutil
import subprocess
import sys

IMPORT = re.compile(r"^\s*DLL Name:\s*(\S+)\s*$", re.MULTILINE)


def imports(objdump, path):
    listing = subprocess.run([objdump, "-p", path], check=True, capture_output=True, text=True).stdout
    return IMPORT.findall(listing)


def find(name, folders):
    for folder in folders:
        for entry in os.listdir(folder):
            if entry.lower() == name.lower():
                return os.path.join(folder, entry)
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--search", nargs="+", required=True, help="folders that hold DLLs to ship")
    parser.add_argument("--plugin-dir", required=True)
    parser.add_argument("--plugins", nargs="*", default=[], help="plugins as CATEGORY/NAME.dll")
    parser.add_argument("--strip", required=True, help="strips the debugging data from what ships")
    parser.add_argument("--extra", nargs="*", default=[], help="other files as SOURCE=NAME")
    parser.add_argument("--out", required=True)
    parser.add_argument("programs", nargs="+")
    args = parser.parse_args()

    if os.path.exists(args.out):
        shutil.rmtree(args.out)
    os.makedirs(args.out)
    shipped = {}  # path in the folder -> source
    for program in args.programs:
        shipped[os.path.basename(program)] = program
    for plugin in args.plugins:
        source = os.path.join(args.plugin_dir, plugin)
        if not os.path.isfile(source):
            sys.exit(f"deploy: the Qt plugin {source} is missing")
        shipped[plugin] = source

    system = set()
    pending = list(shipped.values())
    seen = set()
    while pending:
        path = pending.pop()
        if path in seen:
            continue
        seen.add(path)
        for name in imports(args.objdump, path):
            if name.lower() in (s.lower() for s in shipped) or name.lower() in system:
                continue
            found = find(name, args.search)
            if found:
                shipped[os.path.basename(found)] = found
                pending.append(found)
            else:
                system.add(name.lower())

    for relative, source in sorted(shipped.items()):
        target = os.path.join(args.out, relative)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copy2(source, target)
        subprocess.run([args.strip, "--strip-debug", target], check=True)
    for extra in args.extra:
        source, name = extra.split("=", 1)
        shutil.copy2(source, os.path.join(args.out, name))
        shipped[name] = source
    # The lists the setup program is made from, in Windows' spelling.
    files = sorted(shipped)
    folders = sorted({os.path.dirname(f) for f in files if os.path.dirname(f)}, reverse=True)
    base = os.path.dirname(os.path.abspath(args.out))
    with open(os.path.join(base, "install_files.nsh"), "w") as out:
        for folder in [""] + sorted(folders):
            out.write(f'SetOutPath "$INSTDIR{chr(92) + folder if folder else ""}"\n')
            for f in files:
                if os.path.dirname(f) == folder:
                    out.write(f'File "{os.path.join(os.path.abspath(args.out), f)}"\n')
        out.write('SetOutPath "$INSTDIR"\n')
    with open(os.path.join(base, "uninstall_files.nsh"), "w") as out:
        for f in files:
            out.write(f'Delete "$INSTDIR\\{f.replace("/", chr(92))}"\n')
        for folder in folders:
            out.write(f'RMDir "$INSTDIR\\{folder.replace("/", chr(92))}"\n')
    print(f"deploy: {len(files)} files into {args.out}; Windows' own DLLs left out: {', '.join(sorted(system))}")


if __name__ == "__main__":
    main()
