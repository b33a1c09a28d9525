#!/usr/bin/env python3
"""Builds a Quillmoss Windows Installer package from installer/quillmoss.wxs with wixl.

  build-msi.py --arch x64 --version 2.80 --exe Quillmoss.exe --icon quillmoss.ico \
               --source <checkout> --out Quillmoss-2.80-x64.msi

The package is the same, byte for byte, for the same inputs:
- the ProductCode follows from the version and the architecture (a name-based UUID under the
  UpgradeCode), so each version is a product of its own and a rebuild is the same product;
- the package code, which wixl would draw at random, follows from everything that goes in
  (architecture, version, the .wxs, the program and the icon), and is written afterwards;
- the files go into the cabinet with the date of the commit (SOURCE_DATE_EPOCH when set) as
  their own, and wixl and msibuild run with the clock stopped at that date, which the
  summary's creation and save times then hold.

Three rows are added after wixl, which cannot express them: EventMessageFile as REG_EXPAND_SZ
(wixl writes every text as REG_SZ), the removal of the whole event-source key on uninstall, and
the removal of qms.exe, which the program's own update leaves beside it.
"""
import argparse
import hashlib
import importlib.util
import os
import shutil
import subprocess
import tempfile
import time
import uuid

UPGRADE_CODE = uuid.UUID("8E4B2C71-5A9D-4F36-B0E8-1D7C3A6F2954")  # as in quillmoss.wxs
EVENT_SOURCE_KEY = r"SYSTEM\CurrentControlSet\Services\EventLog\Application\Quillmoss"


def source_date(source):
    here = os.path.dirname(os.path.abspath(__file__))
    found = importlib.util.spec_from_file_location("make_release",
                                                   os.path.join(here, "make-release.py"))
    release = importlib.util.module_from_spec(found)
    found.loader.exec_module(release)
    return release.source_date(source)


def guid(name):
    return str(uuid.uuid5(UPGRADE_CODE, name)).upper()


def package_code(args):
    digest = hashlib.sha256()
    for text in (args.arch, args.version):
        digest.update(text.encode() + b"\0")
    for path in (args.wxs, args.exe, args.icon):
        with open(path, "rb") as data:
            digest.update(data.read())
    return guid("package " + digest.hexdigest())


def sql_text(text):
    return "'" + text.replace("'", "''") + "'"


def main():
    parser = argparse.ArgumentParser()
    for option in ("arch", "version", "exe", "icon", "source", "out"):
        parser.add_argument("--" + option, required=True)
    parser.add_argument("--wxs", default=os.path.join(os.path.dirname(__file__), "quillmoss.wxs"))
    args = parser.parse_args()
    if args.arch not in ("x64", "x86"):
        parser.error("--arch is x64 or x86")

    epoch = source_date(args.source)
    stamp = time.strftime("%Y-%m-%d %H:%M:%S", time.gmtime(epoch))
    stopped = ["faketime", "-f", stamp]
    env = dict(os.environ, TZ="UTC")
    out = os.path.abspath(args.out)
    with tempfile.TemporaryDirectory() as stage:
        # wixl finds sources only by names relative to the folder it runs in.
        for source, name in ((args.exe, "Quillmoss.exe"), (args.icon, "quillmoss.ico")):
            shutil.copyfile(source, os.path.join(stage, name))
            os.utime(os.path.join(stage, name), (epoch, epoch))
        built = os.path.join(stage, "quillmoss.msi")
        subprocess.run(stopped + [
            "wixl", "-a", args.arch, "-D", "Arch=" + args.arch, "-D", "Version=" + args.version,
            "-D", "ProductCode=" + guid("product %s %s" % (args.version, args.arch)),
            "-D", "Exe=Quillmoss.exe", "-D", "Icon=quillmoss.ico",
            "-o", built, os.path.abspath(args.wxs)], cwd=stage, env=env, check=True)
        rows = [
            "UPDATE `Registry` SET `Value`='#%[#QuillmossExe]' WHERE `Name`='EventMessageFile'",
            "INSERT INTO `Registry` (`Registry`,`Root`,`Key`,`Name`,`Component_`) "
            "VALUES ('EventSourceKey',2,%s,'-','EventSource')" % sql_text(EVENT_SOURCE_KEY),
            "INSERT INTO `RemoveFile` (`FileKey`,`Component_`,`FileName`,`DirProperty`,"
            "`InstallMode`) VALUES ('UpdateCopy','Program','qms.exe','INSTALLDIR',2)",
        ]
        command = stopped + ["msibuild", built]
        for row in rows:
            command += ["-q", row]
        # Windows Installer calls the 32-bit platform "Intel"; a package marked "x86" is
        # refused everywhere as meant for another processor (1633).
        platform = {"x64": "x64", "x86": "Intel"}[args.arch]
        command += ["-s", "Quillmoss " + args.version, "Quillmoss", "%s;1033" % platform,
                    "{%s}" % package_code(args)]
        subprocess.run(command, cwd=stage, env=env, check=True)
        shutil.copyfile(built, out)
    print(out)


if __name__ == "__main__":
    main()
