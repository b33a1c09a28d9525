#!/usr/bin/env bash
# Runs the end-to-end driver against Quillmoss.exe on a private Xvfb display.
#   run-e2e.sh DRIVER.exe QUILLMOSS.exe SCREENSHOT.png [gtest args...]
# The driver may save more pictures beside it, SCREENSHOT-<panel>.bmp (QM_E2E_SHOTS is that
# prefix); each becomes a PNG.
set -euo pipefail
driver=$1 exe=$2 shot=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)

fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  WINEPREFIX="$QM_WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -f "$fdfile"
}
trap cleanup EXIT
# Up to five seconds for the display. Under a sped-up clock (faketime) each sleep is that much
# shorter, so the count grows with the speed-up.
for _ in $(seq 1 $((50 * ${QM_E2E_FAST_CLOCK:-1}))); do [ -s "$fdfile" ] && break; sleep 0.1; done
[ -s "$fdfile" ] || { echo "Xvfb gave no display" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$fdfile")"

# wine-run.sh gives the prefix a home folder (and so a Recycle Bin) of its own in the build.
bmp="${shot%.png}.bmp"
rm -f "${shot%.png}".bmp "${shot%.png}"-*.bmp
export QM_E2E_EXE QM_E2E_SCREENSHOT QM_E2E_SHOTS QM_E2E_STAND_IN
winepath_w() { echo "Z:${1//\//\\}"; }
QM_E2E_EXE=$(winepath_w "$(readlink -f "$exe")")
# Other programs' windows, built beside the driver.
QM_E2E_STAND_IN=$(winepath_w "$(dirname "$(readlink -f "$driver")")/qm_stand_in_windows.exe")
QM_E2E_SCREENSHOT="Z:${bmp//\//\\}"
QM_E2E_SHOTS="${QM_E2E_SCREENSHOT%.bmp}-"
status=0
"$here/../wine/wine-run.sh" "$driver" "$@" || status=$?
for picture in "${shot%.png}".bmp "${shot%.png}"-*.bmp; do
  [ -f "$picture" ] || continue
  convert "$picture" "${picture%.bmp}.png" && rm -f "$picture" && echo "screenshot: ${picture%.bmp}.png"
done
exit $status
