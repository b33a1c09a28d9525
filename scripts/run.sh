#!/usr/bin/env bash
# Builds Quillmoss.exe and starts it under Wine. Without a display it starts a virtual one,
# saves a screenshot of the window to build/screenshot.png and ends the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target Quillmoss
exe=build/windows/src/gui/Quillmoss.exe
export QM_WINEPREFIX="$PWD/build/windows/wineprefix-run"

if [ -n "${DISPLAY:-}" ]; then
  exec tests/wine/wine-run.sh "$exe"
fi

display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
sleep 1
tests/wine/wine-run.sh "$exe" &
app=$!
for _ in $(seq 1 60); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Quillmoss v2.80"'; then break; fi
  sleep 1
done
sleep 2
import -window root build/screenshot.png
echo "No display: Quillmoss ran on a virtual one; screenshot saved to build/screenshot.png"
WINEPREFIX="$QM_WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true
wait $app 2>/dev/null || true
