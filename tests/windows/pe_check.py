#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Reads the Windows programs as built and checks what Windows sees of them:
a 64-bit windowed program (no console), with address-space randomisation
(high-entropy) and no execution of data pages, the window icon with its six
images, and a version record that names the program itself.

    pe_check.py --version 1.00 PROGRAM.exe...
"""

import argparse
import os
import struct
import sys

IMAGE_FILE_MACHINE_AMD64 = 0x8664
PE32_PLUS = 0x20B
SUBSYSTEM_WINDOWS_GUI = 2
DLL_HIGH_ENTROPY_VA = 0x0020
DLL_DYNAMIC_BASE = 0x0040
DLL_NX_COMPAT = 0x0100
RT_ICON, RT_GROUP_ICON, RT_VERSION = 3, 14, 16
ICON_SIZES = [16, 24, 32, 48, 64, 256]


class PeFile:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        (self.machine, sections, _, _, _, optional_size, _) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        if self.magic != PE32_PLUS:
            raise ValueError("not a 64-bit (PE32+) program")
        self.subsystem, self.dll_characteristics = struct.unpack_from("<HH", data, optional + 68)
        directories = optional + 112
        self.resource_rva, self.resource_size = struct.unpack_from("<II", data, directories + 2 * 8)
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            at = table + 40 * i
            virtual_size, virtual_address, raw_size, raw_pointer = struct.unpack_from("<IIII", data, at + 8)
            self.sections.append((virtual_address, max(virtual_size, raw_size), raw_pointer))

    def offset(self, rva):
        for virtual_address, size, raw_pointer in self.sections:
            if virtual_address <= rva < virtual_address + size:
                return raw_pointer + rva - virtual_address
        raise ValueError(f"address {rva:#x} is in no section")

    def resources(self):
        """{type: {id: bytes}} of the first language of each resource."""
        if not self.resource_rva:
            return {}
        base = self.offset(self.resource_rva)

        def entries(directory):
            named, numbered = struct.unpack_from("<HH", self.data, base + directory + 12)
            for i in range(named + numbered):
                ident, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
                yield ident, target

        found = {}
        for kind, kind_dir in entries(0):
            for ident, name_dir in entries(kind_dir & 0x7FFFFFFF):
                for _, leaf in entries(name_dir & 0x7FFFFFFF):
                    rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    start = self.offset(rva)
                    found.setdefault(kind, {}).setdefault(ident, self.data[start:start + size])
                    break
        return found


def version_strings(blob):
    """The StringFileInfo texts of a VS_VERSIONINFO resource."""
    strings = {}

    def walk(at, end):
        while at + 6 <= end:
            length, value_length, kind = struct.unpack_from("<HHH", blob, at)
            if length == 0:
                break
            key_end = at + 6
            while blob[key_end:key_end + 2] != b"\0\0":
                key_end += 2
            key = blob[at + 6:key_end].decode("utf-16-le")
            value_at = (key_end + 2 + 3) & ~3
            if key == "VS_VERSION_INFO":
                children = (value_at + value_length + 3) & ~3
                walk(children, at + length)
            elif key in ("StringFileInfo",) or (len(key) == 8 and kind == 1 and value_length == 0):
                walk(value_at, at + length)
            elif kind == 1 and value_length:
                text = blob[value_at:value_at + 2 * value_length].decode("utf-16-le").rstrip("\0")
                strings[key] = text
            at = (at + length + 3) & ~3

    walk(0, len(blob))
    return strings


def check(path, version):
    problems = []
    name = os.path.basename(path)
    stem = name[:-4] if name.lower().endswith(".exe") else name
    with open(path, "rb") as f:
        pe = PeFile(f.read())
    if pe.machine != IMAGE_FILE_MACHINE_AMD64:
        problems.append(f"machine {pe.machine:#x}, not x86-64")
    if pe.subsystem != SUBSYSTEM_WINDOWS_GUI:
        problems.append(f"subsystem {pe.subsystem}, not a windowed program ({SUBSYSTEM_WINDOWS_GUI})")
    for flag, what in ((DLL_DYNAMIC_BASE, "ASLR (dynamic base)"), (DLL_HIGH_ENTROPY_VA, "high-entropy ASLR"),
                       (DLL_NX_COMPAT, "DEP (NX compatible)")):
        if not pe.dll_characteristics & flag:
            problems.append(f"no {what}")
    resources = pe.resources()
    groups = resources.get(RT_GROUP_ICON, {})
    if not groups:
        problems.append("no icon")
    else:
        group = next(iter(groups.values()))
        count = struct.unpack_from("<H", group, 4)[0]
        sizes = sorted((group[6 + 14 * i] or 256) for i in range(count))
        if sizes != ICON_SIZES:
            problems.append(f"icon images {sizes}, expected {ICON_SIZES}")
        images = resources.get(RT_ICON, {})
        for i in range(count):
            image_id = struct.unpack_from("<H", group, 6 + 14 * i + 12)[0]
            if image_id not in images:
                problems.append(f"icon image {image_id} missing")
    versions = resources.get(RT_VERSION, {})
    if not versions:
        problems.append("no version record")
    else:
        strings = version_strings(next(iter(versions.values())))
        expected = {"FileVersion": version, "ProductVersion": version, "ProductName": "Velmo",
                    "InternalName": stem, "OriginalFilename": name}
        for key, value in expected.items():
            if strings.get(key) != value:
                problems.append(f"version record {key} is {strings.get(key)!r}, expected {value!r}")
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--version", required=True)
    parser.add_argument("programs", nargs="+")
    args = parser.parse_args()
    failed = 0
    for path in args.programs:
        try:
            problems = check(path, args.version)
        except (OSError, ValueError, struct.error, UnicodeDecodeError) as error:
            problems = [f"unreadable: {error}"]
        if problems:
            failed += 1
            for problem in problems:
                print(f"{path}: {problem}")
        else:
            print(f"{path}: windowed x86-64 program, ASLR (high-entropy), DEP, icon of six images, "
                  f"version record {args.version} naming {os.path.basename(path)}")
    print(f"{len(args.programs) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
