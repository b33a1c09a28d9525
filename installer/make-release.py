#!/usr/bin/env python3
"""Gathers a Quillmoss release: the setup, the Windows Installer packages, a portable zip and a
SHA-256 list of them all.

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
    for option in ("version", "source", "exe", "icon", "setup", "readme", "out"):
        parser.add_argument("--" + option, required=True)
    parser.add_argument("--msi", nargs="*", default=[])
    args = parser.parse_args()

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
    portable = os.path.join(args.out, "Quillmoss-%s-portable.zip" % args.version)
    write_zip(portable, {"Quillmoss.exe": args.exe, "iconwipe.ico": args.icon,
                         "README.txt": readme}, source_date(args.source))
    os.remove(readme)

    with open(os.path.join(args.out, "SHA256SUMS"), "w", newline="\n") as sums:
        for path in [setup] + packages + [portable]:
            with open(path, "rb") as data:
                digest = hashlib.sha256(data.read()).hexdigest()
            sums.write("%s  %s\n" % (digest, os.path.basename(path)))
    for name in sorted(os.listdir(args.out)):
        print(os.path.join(args.out, name))


if __name__ == "__main__":
    main()
