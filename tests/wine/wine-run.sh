#!/usr/bin/env bash
# Runs a Windows program of the build under Wine in the build's private prefix, creating the
# prefix on first use. Used by CTest as the cross-compiling emulator and by the run script.
#   QM_WINEPREFIX  the prefix folder (default: <this build>/wineprefix, set by CMake)
#   QM_WINVER      Windows version the prefix reports (winxp, win2k, win98, win7; default winxp)
set -euo pipefail
prefix="${QM_WINEPREFIX:?QM_WINEPREFIX must name the test prefix}"
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
export WINEPREFIX="$prefix" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [ ! -f "$prefix/.quillmoss-ready" ]; then
    "$wine" wineboot -i >/dev/null 2>&1 || true
    # wineboot complains without a display but still builds the prefix; a prefix without its
    # registry is broken, and marking it ready would make every later run fail obscurely.
    /usr/lib/wine/wineserver -w 2>/dev/null || true
    if [ ! -f "$prefix/system.reg" ]; then
      echo "wine-run.sh: could not create the Wine prefix $prefix" >&2
      exit 1
    fi
    # No window manager in the tests: unmanaged windows hide without the ~2 s stall.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    /usr/lib/wine/wineserver -w 2>/dev/null || true
    touch "$prefix/.quillmoss-ready"
  fi
  want="${QM_WINVER:-winxp}"
  have=$(cat "$prefix/.quillmoss-winver" 2>/dev/null || true)
  if [ "$want" != "$have" ]; then
    "$wine" reg add 'HKCU\Software\Wine' /v Version /d "$want" /f >/dev/null 2>&1
    /usr/lib/wine/wineserver -w 2>/dev/null || true
    echo "$want" >"$prefix/.quillmoss-winver"
  fi
) 9>"$prefix.lock"

exec "$wine" "$@"
