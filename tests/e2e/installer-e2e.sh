#!/usr/bin/env bash
# The setup and the uninstaller in a Wine prefix of their own, made anew for each run:
#   installer-e2e.sh SETUP.exe QUILLMOSS-64.exe QUILLMOSS-32.exe QUILLMOSS.ico
# A silent install into a folder with a blank and a non-ASCII letter, its shortcut and its
# entry in the installed-programs list; the installed program starts; setup over it, over a
# running copy and over a copy whose exe is gone keeps the settings; a silent uninstall while
# the program runs closes it and leaves the prefix's Program Files, Start Menu and the
# registry keys Quillmoss and its setup write as they were before, but for the settings key.
# The prefix is 64-bit Windows: the 64-bit program is installed, and the registry is written in
# the 64-bit view. Setup over the folder and keys the 64-bit-only setups before it left keeps
# that folder and the settings. In a 32-bit prefix of its own the 32-bit program is installed.
set -euo pipefail
setup=$(readlink -f "$1") exe=$(readlink -f "$2") exe32=$(readlink -f "$3") icon=$(readlink -f "$4")
here=$(cd "$(dirname "$0")" && pwd)
prefix="${QM_WINEPREFIX:?QM_WINEPREFIX must name the test prefix}"
export WINEPREFIX="$prefix"
rm -rf "$prefix" "$prefix-home" "$prefix-win32" "$prefix-win32-home"

fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  WINEPREFIX="$prefix-win32" /usr/lib/wine/wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -f "$fdfile"
}
trap cleanup EXIT
for _ in $(seq 1 50); do [ -s "$fdfile" ] && break; sleep 0.1; done
[ -s "$fdfile" ] || { echo "Xvfb gave no display" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$fdfile")"

. "$here/prefix-checks.sh"

drive="$prefix/drive_c"
folder='C:\Program Files\Quillmoss Grün'
unix_folder="$drive/Program Files/Quillmoss Grün"
reg_folder='C:\\Program Files\\Quillmoss Gr\xfcn'  # as Wine's registry files spell it
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Quillmoss.lnk"
caption='Quillmoss v2.80'
uninstall_key='Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillmoss'
event_key='System\\CurrentControlSet\\Services\\Eventlog\\Application\\Quillmoss'

# What Quillmoss and its setup may touch, but for the settings key.
snapshot() {
  settle
  (cd "$drive" && find "Program Files" "ProgramData/Microsoft/Windows/Start Menu" | sort)
  reg_sections 'Software\\Microsoft\\Windows\\CurrentVersion\\Run' \
    'Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall' \
    'Software\\Microsoft\\Internet Explorer\\Extensions' "$event_key"
}
# Read while programs run (the files are written only when the prefix's server ends).
settings() {
  local root
  for root in HKLM HKCU; do wine reg query "$root\\Software\\Microsoft\\Qmoss" /s || true; done
}
entry() { settle; reg_sections "$uninstall_key"; }

# The program started as the Start Menu would, in the background; its window is found on the
# display by its caption.
start_program() {
  "$here/../wine/wine-run.sh" "$folder\\Quillmoss.exe" &
  program=$!
  for _ in $(seq 1 300); do
    xwininfo -root -tree 2>/dev/null | grep -q "\"$caption\"" && return 0
    kill -0 "$program" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
ended() { ! kill -0 "$program" 2>/dev/null; }
links_to() {  # links_to LNK PATH: the shortcut holds the path (UTF-16, as Windows writes it)
  python3 -c 'import sys; sys.exit(sys.argv[2].encode("utf-16-le") not in open(sys.argv[1], "rb").read())' "$1" "$2"
}
has_line() { grep -qxF -- "$2" <<<"$1"; }

wine cmd /c exit  # makes the prefix
before=$(snapshot)

# /D= takes the rest of the command line as it stands, blanks and all.
wine "$setup" /S '/D=C:\Program' 'Files\Quillmoss' 'Grün'
settle
check "the 64-bit program and its toolbar icon are installed" \
  cmp -s "$exe" "$unix_folder/Quillmoss.exe"
check "iconwipe.ico is the program's icon" cmp -s "$icon" "$unix_folder/iconwipe.ico"
check "the uninstaller is installed" test -f "$unix_folder/Uninstall.exe"
check "the Start Menu shortcut starts the installed program" \
  links_to "$shortcut" "$folder\\Quillmoss.exe"
listed=$(entry)
for line in '"DisplayName"="Quillmoss 2.80"' '"DisplayVersion"="2.80"' '"Publisher"="Quillmoss"' \
  "\"InstallLocation\"=\"$reg_folder\"" "\"DisplayIcon\"=\"$reg_folder\\\\Quillmoss.exe,0\"" \
  "\"UninstallString\"=\"\\\"$reg_folder\\\\Uninstall.exe\\\"\"" \
  "\"QuietUninstallString\"=\"\\\"$reg_folder\\\\Uninstall.exe\\\" /S\""; do
  check "list entry $line" has_line "$listed" "system.reg $line"
done
check "list entry has an estimated size" grep -q '"EstimatedSize"=dword:0000' <<<"$listed"
source_values=$(reg_sections "$event_key")
check "the event source names the installed program (REG_EXPAND_SZ)" has_line "$source_values" \
  "system.reg \"EventMessageFile\"=str(2):\"$reg_folder\\\\Quillmoss.exe\""
check "the event source takes errors, warnings and information" has_line "$source_values" \
  'system.reg "TypesSupported"=dword:00000007'
check "the list entry is in the 64-bit view only" \
  test -z "$(reg_sections 'Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillmoss')"

check "the installed program starts and shows its window" start_program
# What a user's use of the program leaves in its settings (remembered items, options).
wine reg add 'HKLM\Software\Microsoft\Qmoss' /v ihistory /d tt /f >/dev/null
wine reg add 'HKLM\Software\Microsoft\Qmoss' /v remember /d e /f >/dev/null
wine reg add 'HKLM\Software\Microsoft\Qmoss' /v schedclean /d '3 Hours' /f >/dev/null
kept=$(settings)
check "the program's first start made its settings key" grep -qw ver <<<"$kept"

# A second setup over the running copy: it closes the program, installs into the same
# folder without being told, and leaves the settings alone.
wine "$setup" /S
settle
check "setup over a running copy ends it" ended
check "setup over an installed copy stays in its folder" \
  test ! -e "$drive/Program Files/Quillmoss"
check "setup over an installed copy leaves the program there" \
  cmp -s "$exe" "$unix_folder/Quillmoss.exe"
check "setup over an installed copy keeps the settings" test "$(settings)" == "$kept"

# A damaged install: the program is gone, the rest is there.
rm -f "$unix_folder/Quillmoss.exe"
wine "$setup" /S
check "setup over a copy without its exe puts the exe back" \
  cmp -s "$exe" "$unix_folder/Quillmoss.exe"
check "setup over a damaged copy keeps the settings" test "$(settings)" == "$kept"

# What the program writes outside its folder, in the forms it writes them: its start at
# log-on and its toolbar button, under HKLM and, for a user who may not write HKLM, HKCU.
# Another program's values beside them must stay; so must the home page the user chose.
toolbar='Software\Microsoft\Internet Explorer\Extensions\{ECC5778A-6E88-BFCE-13CE-81F134789E7B}'
for root in HKLM HKCU; do
  wine reg add "$root\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run" /v QMS \
    /d "\"$folder\\Quillmoss.exe\"" /f >/dev/null
  wine reg add "$root\\$toolbar" /v ButtonText /d Quillmoss /f >/dev/null
  wine reg add "$root\\$toolbar" /v Exec /d "$folder\\Quillmoss" /f >/dev/null
  wine reg add "$root\\$toolbar" /v Icon /d "$folder\\iconwipe.ico" /f >/dev/null
done
wine reg add 'HKCU\Software\Microsoft\Internet Explorer\Main' /v 'Start Page' /d about:blank /f >/dev/null

during=$(snapshot)
check "the comparison sees the installed files, the list entry and the program's values" \
  test "$(grep -c -e 'Quillmoss Grün/Quillmoss.exe' -e '\[Software.*Uninstall.*Quillmoss\]' \
    -e '"QMS"=' -e 'ECC5778A' -e 'Eventlog.*Quillmoss\]' <<<"$during")" -eq 7

# Uninstall while the program runs: it is asked to close, and then everything goes.
check "the program runs again" start_program
wine "$folder\\Uninstall.exe" /S
settle
check "the uninstaller closed the running program" ended
after=$(snapshot)
check "uninstall leaves Program Files, the Start Menu, Run, the list and IE's extensions as they were" \
  test "$after" == "$before"
if [ "$after" != "$before" ]; then diff <(echo "$before") <(echo "$after") || true; fi
# Every value held before is there unchanged (the program's later starts add its own).
lost=$(comm -23 <(sort <<<"$kept") <(settings | sort))
check "uninstall keeps the settings" test -z "$lost"
[ -z "$lost" ] || echo "$lost"
check "uninstall leaves the home page alone" \
  grep -qxF 'user.reg "Start Page"="about:blank"' \
  <(reg_sections 'Software\\Microsoft\\Internet Explorer\\Main')
check "nothing waits for a restart but the uninstaller's own temporary copy" \
  bash -c "! grep -a 'PendingFileRenameOperations' '$prefix/system.reg' | grep -aqi quillmoss"

# The folder and list entry a 64-bit-only setup left (its keys in the 64-bit view, where the
# 64-bit reg.exe writes): the new setup goes into that folder and keeps the settings.
old_folder='C:\Program Files\Quillmoss Alt'
mkdir -p "$drive/Program Files/Quillmoss Alt"
cp "$exe" "$drive/Program Files/Quillmoss Alt/Quillmoss.exe"
wine reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmoss' \
  /v InstallLocation /d "$old_folder" /f >/dev/null
kept=$(settings)
wine "$setup" /S
settle
check "setup over the 64-bit-only layout stays in its folder" \
  test ! -e "$drive/Program Files/Quillmoss" -a ! -e "$drive/Program Files (x86)/Quillmoss"
check "setup over the 64-bit-only layout puts the 64-bit program there" \
  cmp -s "$exe" "$drive/Program Files/Quillmoss Alt/Quillmoss.exe"
check "setup over the 64-bit-only layout keeps the settings" test "$(settings)" == "$kept"

# With no installed copy listed, the 64-bit Program Files, not Program Files (x86).
wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmoss' /f >/dev/null
wine "$setup" /S
settle
check "setup on 64-bit Windows installs into the 64-bit Program Files" \
  cmp -s "$exe" "$drive/Program Files/Quillmoss/Quillmoss.exe"

# 32-bit Windows: the same setup installs the 32-bit program into its Program Files.
QM_WINEPREFIX="$prefix-win32" QM_WINEARCH=win32 "$here/../wine/wine-run.sh" "$setup" /S
WINEPREFIX="$prefix-win32" timeout 120 /usr/lib/wine/wineserver -w || true
check "32-bit Windows gets the 32-bit program" \
  cmp -s "$exe32" "$prefix-win32/drive_c/Program Files/Quillmoss/Quillmoss.exe"

echo "installer e2e: $failures failed"
[ "$failures" -eq 0 ]
