#!/usr/bin/env bash
# The Windows Installer package under Wine's msiexec, in a prefix of its own made anew each run:
#   msi-e2e.sh PACKAGE.msi QUILLMOSS.exe QUILLMOSS.ico BUILD-MSI.py SOURCE-DIR x64|x86
# A silent install into a folder of its own with a blank and a non-ASCII letter (files, shortcut,
# list entry, event source); a newer package built here from the same source takes its place,
# in the same folder untold (one list entry, the new program, the settings kept); the
# older package over the newer one is refused and leaves it alone; a silent removal leaves
# Program Files, the Start Menus, the list and the event log's sources as they were before,
# and the settings key as the program left it.
set -euo pipefail
msi=$(readlink -f "$1") exe=$(readlink -f "$2") icon=$(readlink -f "$3")
build_msi=$(readlink -f "$4") source=$(readlink -f "$5") arch=$6
here=$(cd "$(dirname "$0")" && pwd)
prefix="${QM_WINEPREFIX:?QM_WINEPREFIX must name the test prefix}"
export WINEPREFIX="$prefix"
work="$prefix-packages"
rm -rf "$prefix" "$prefix-home" "$work"
mkdir -p "$work"
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT

. "$here/prefix-checks.sh"
msiexec() {  # msiexec ARGS...: silent, and its exit code once everything it started is done
  local rc=0
  wine msiexec "$@" /qn || rc=$?
  settle
  return "$rc"
}
winepath_of() { echo "Z:${1//\//\\}"; }

drive="$prefix/drive_c"
program_files='Program Files'
[ "$arch" = x64 ] || program_files='Program Files (x86)'
unix_folder="$drive/$program_files/Quillmoss Grün"
folder="C:\\$program_files\\Quillmoss Grün"
reg_folder="C:\\\\$program_files\\\\Quillmoss Gr\\xfcn"  # as Wine's registry files spell it
uninstall_key='Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall'
# A 32-bit package's list entry is in the 32-bit programs' view of the 64-bit prefix.
[ "$arch" = x64 ] || uninstall_key='Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall'
event_key='System\\CurrentControlSet\\Services\\Eventlog\\Application\\Quillmoss'

# Wine puts the shortcuts of a per-machine package in the installing user's Start Menu, where
# Windows puts them in the one of all users: both are looked at.
start_menus() { find "$drive/ProgramData/Microsoft/Windows/Start Menu" "$drive"/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu "$@"; }
snapshot() {
  settle
  (cd "$drive" && find "$program_files" | sort)
  start_menus | sed "s|^$drive/||" | sort
  reg_sections "$uninstall_key" "$event_key"
}
settings() { wine reg query 'HKLM\Software\Microsoft\Qmoss' /s; }
# The list entries of Quillmoss: one block per entry, its values sorted.
entries() {
  settle
  reg_sections "$uninstall_key" | awk '
    / \[/ { if (block ~ /"DisplayName"="Quillmoss/) print block; block = ""; next }
    { block = block $0 "\n" }
    END { if (block ~ /"DisplayName"="Quillmoss/) print block }'
}
links_to() {  # links_to LNK PATH: the shortcut's link information holds the path, in ANSI
  python3 -c 'import sys; sys.exit(b"\0" + sys.argv[2].encode("cp1252") + b"\0" not in open(sys.argv[1], "rb").read())' "$1" "$2"
}
has_line() { grep -qxF -- "$2" <<<"$1"; }
shortcuts() { start_menus -name Quillmoss.lnk; }

wine cmd /c exit  # makes the prefix
before=$(snapshot)

check "a silent install succeeds" msiexec /i "$(winepath_of "$msi")" "INSTALLDIR=$folder"
check "the program is installed" cmp -s "$exe" "$unix_folder/Quillmoss.exe"
check "iconwipe.ico is the program's icon" cmp -s "$icon" "$unix_folder/iconwipe.ico"
check "there is one Start Menu shortcut" test "$(shortcuts | wc -l)" -eq 1
check "the shortcut starts the installed program" links_to "$(shortcuts | head -n1)" "$folder\\Quillmoss.exe"
listed=$(entries)
for line in '"DisplayName"="Quillmoss 2.80"' '"DisplayVersion"="2.80"' '"Publisher"="Quillmoss"' \
  '"URLInfoAbout"="https://www.quillmoss.com"' "\"InstallLocation\"=\"$reg_folder\\\\\"" \
  '"NoModify"=dword:00000001' '"NoRepair"=dword:00000001'; do
  check "list entry $line" has_line "$listed" "system.reg $line"
done
check "the list entry removes the package" grep -q '"UninstallString"=str(2):"MsiExec.exe /X{' <<<"$listed"
source_values=$(reg_sections "$event_key")
check "the event source names the installed program (REG_EXPAND_SZ)" has_line "$source_values" \
  "system.reg \"EventMessageFile\"=str(2):\"$reg_folder\\\\Quillmoss.exe\""
check "the event source takes errors, warnings and information" has_line "$source_values" \
  'system.reg "TypesSupported"=dword:00000007'

# What a user's use of the program leaves in its settings.
wine reg add 'HKLM\Software\Microsoft\Qmoss' /v ihistory /d tt /f >/dev/null
wine reg add 'HKLM\Software\Microsoft\Qmoss' /v schedclean /d '3 Hours' /f >/dev/null
kept=$(settings)

# A newer version from the same source, with a program of its own (a few bytes longer).
newer_exe="$work/Quillmoss.exe"
{ cat "$exe"; printf 'newer'; } >"$newer_exe"
newer="$work/Quillmoss-2.81-$arch.msi"
python3 "$build_msi" --arch "$arch" --version 2.81 --exe "$newer_exe" --icon "$icon" \
  --source "$source" --out "$newer" >/dev/null
check "the newer package installs over the older one" msiexec /i "$(winepath_of "$newer")"
check "the newer program is in place" cmp -s "$newer_exe" "$unix_folder/Quillmoss.exe"
check "the upgrade stays in the installed copy's folder" test ! -e "$drive/$program_files/Quillmoss"
listed=$(entries)
check "one list entry is left" test "$(grep -c '"DisplayName"=' <<<"$listed")" -eq 1
check "the list entry is the newer version" has_line "$listed" 'system.reg "DisplayVersion"="2.81"'
check "the upgrade keeps the shortcut" test "$(shortcuts | wc -l)" -eq 1
check "the upgrade keeps the event source" test "$(reg_sections "$event_key")" == "$source_values"
check "the upgrade keeps the settings" test "$(settings)" == "$kept"

# The older package once more: it stops at once (ERROR_INSTALL_FAILURE, 1603, of which a Unix
# exit status keeps the low byte), with the newer version untouched.
rc=0
msiexec /i "$(winepath_of "$msi")" || rc=$?
check "the older package is refused over the newer one (exit status $rc)" test "$rc" -eq $((1603 % 256))
check "the newer program stays" cmp -s "$newer_exe" "$unix_folder/Quillmoss.exe"
check "the newer list entry stays alone" test "$(entries)" == "$listed"
check "the event source stays" test "$(reg_sections "$event_key")" == "$source_values"

# What the package did not write itself still goes with it: the copy the program's own update
# leaves beside it, and any other value in Quillmoss's event source (one an earlier version or
# an administrator's tool added).
cp "$newer_exe" "$unix_folder/qms.exe"
wine reg add 'HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Quillmoss' \
  /v CategoryCount /t REG_DWORD /d 0 /f >/dev/null
check "a silent removal succeeds" msiexec /x "$(winepath_of "$newer")"
after=$(snapshot)
check "removal leaves Program Files, the Start Menus, the list and the event sources as they were" \
  test "$after" == "$before"
if [ "$after" != "$before" ]; then diff <(echo "$before") <(echo "$after") || true; fi
check "removal keeps the settings" test "$(settings)" == "$kept"

echo "msi e2e: $failures failed"
[ "$failures" -eq 0 ]
