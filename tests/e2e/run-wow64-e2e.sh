#!/usr/bin/env bash
# The 32-bit Quillmoss.exe in a 64-bit prefix, under WOW64, as most 32-bit copies run:
#   run-wow64-e2e.sh DRIVER.exe QUILLMOSS.exe SCREENSHOT.png [gtest args...]
# The driver (run-e2e.sh) plants and reads back the machine's own registry view. Afterwards
# the program's settings must be in that view, where the 64-bit program reads them, and
# nothing of them under Wow6432Node.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# 64-bit reg.exe: the machine's own view.
reg() { "$here/../wine/wine-run.sh" reg "$@" >/dev/null 2>&1; }
# The prefix is kept between runs: each run answers for what it writes itself.
reg delete 'HKLM\Software\Wow6432Node\Microsoft\Qmoss' /f || true
# Its Wine session ends before the display's begins: programs of the next one must not join it.
WINEPREFIX="$QM_WINEPREFIX" /usr/lib/wine/wineserver -w 2>/dev/null || true
status=0
"$here/run-e2e.sh" "$@" || status=$?
if ! reg query 'HKLM\Software\Microsoft\Qmoss' /v ver; then
  echo "FAILED: no settings (ver) in the 64-bit view of HKLM\\Software\\Microsoft\\Qmoss"
  status=1
fi
if reg query 'HKLM\Software\Wow6432Node\Microsoft\Qmoss'; then
  echo "FAILED: settings under HKLM\\Software\\Wow6432Node\\Microsoft\\Qmoss"
  status=1
fi
WINEPREFIX="$QM_WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true
exit $status
