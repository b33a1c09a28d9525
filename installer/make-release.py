#!/usr/bin/env python3
"""Gathers a Quillmoss release: the setup, the Windows Installer packages, a portable zip per
architecture, each architecture's program in a folder of its own (x64/Quillmoss.exe,
x86/Quillmoss.exe) and a SHA-256 list of them all. The program is Quillmoss.exe everywhere;
only the folder, package and zip names tell the architectures apart.

The zip is the same, byte for byte, for the same inputs: its entries are sorted, and each
carries the date of the commit (SOURCE_DATE_EPOCH when set), fixed attributes and a fixed
compression level.
"""
import argparse
import hashlib
import os
import shutil
import subprocess
import time
import zipfile

EARLIEST_ZIP_TIME = 315532800  # 1980-01-01, the first time a zip entry can hold


def source_date(source):
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        out = subprocess.run(["git", "-C", source, "log", "-1", "--format=%ct"],
                             capture_output=True, text=True, check=True).stdout.strip()
        return int(out)
    except (OSError, subprocess.CalledProcessError, ValueError):
        return EARLIEST_ZIP_TIME


def write_zip(path, members, epoch):
    stamp = time.gmtime(max(epoch, EARLIEST_ZIP_TIME))[:6]
    with zipfile.ZipFile(path, "w") as archive:
        for name, source in sorted(members.items()):
            entry = zipfile.ZipInfo(name, date_time=stamp)
            entry.create_system = 0  # MS-DOS attributes, as Windows' own zip folders write
            entry.external_attr = 0x20  # archive bit only
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(source, "rb") as data:
                archive.writestr(entry, data.read(), compresslevel=9)


def crlf_text(source, target):
    with open(source, "r", encoding="utf-8") as text:
        lines = text.read().splitlines()
    with open(target, "wb") as out:
        out.write(("\r\n".join(lines) + "\r\n").encode("utf-8"))


def main():
    parser = argparse.ArgumentParser()
    for option in ("version", "source", "icon", "setup", "readme", "out"):
        parser.add_argument("--" + option, required=True)
    parser.add_argument("--msi", nargs="*", default=[])
    parser.add_argument("--exe", action="append", required=True, metavar="ARCH=PATH",
                        help="an architecture's Quillmoss.exe (x64=..., x86=...)")
    args = parser.parse_args()
    programs = dict(exe.split("=", 1) for exe in args.exe)

    shutil.rmtree(args.out, ignore_errors=True)
    os.makedirs(args.out)
    setup = os.path.join(args.out, os.path.basename(args.setup))
    shutil.copyfile(args.setup, setup)
    packages = []
    for msi in args.msi:
        packages.append(os.path.join(args.out, os.path.basename(msi)))
        shutil.copyfile(msi, packages[-1])
    # Notepad of the oldest supported Windows shows only CRLF line ends.
    readme = os.path.join(args.out, "README.txt")
    crlf_text(args.readme, readme)
    listed = [setup] + packages
    for arch, exe in sorted(programs.items()):
        os.makedirs(os.path.join(args.out, arch))
        program = os.path.join(args.out, arch, "Quillmoss.exe")
        shutil.copyfile(exe, program)
        portable = os.path.join(args.out, "Quillmoss-%s-portable-%s.zip" % (args.version, arch))
        write_zip(portable, {"Quillmoss.exe": exe, "iconwipe.ico": args.icon,
                             "README.txt": readme}, source_date(args.source))
        listed += [program, portable]
    os.remove(readme)

    with open(os.path.join(args.out, "SHA256SUMS"), "w", newline="\n") as sums:
        for path in listed:
            with open(path, "rb") as data:
                digest = hashlib.sha256(data.read()).hexdigest()
            name = os.path.relpath(path, args.out).replace(os.sep, "/")
            sums.write("%s  %s\n" % (digest, name))
    for root, _, names in sorted(os.walk(args.out)):
        for name in sorted(names):
            print(os.path.join(root, name))


if __name__ == "__main__":
    main()
