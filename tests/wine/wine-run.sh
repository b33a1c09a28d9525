#!/usr/bin/env bash
# Runs a Windows program of the build under Wine in the build's private prefix, creating the
# prefix on first use. Used by CTest as the cross-compiling emulator and by the run script.
#   QM_WINEPREFIX  the prefix folder (default: <this build>/wineprefix, set by CMake)
#   QM_WINVER      Windows version the prefix reports (winxp, win2k, win98, win7; default winxp)
#   QM_WINEARCH    win64 (default: 64-bit Windows, where 32-bit programs run under WOW64) or
#                  win32 (32-bit Windows, started through Wine's 32-bit loader)
set -euo pipefail
prefix="${QM_WINEPREFIX:?QM_WINEPREFIX must name the test prefix}"
if [ "${QM_WINEARCH:-win64}" = win32 ]; then
  wine=/usr/lib/wine/wine
  export WINEARCH=win32
else
  wine=/usr/lib/wine/wine64
  [ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
  export WINEARCH=win64
fi
# One code page whatever locales this machine has: the tests write ANSI files in Windows-1252.
export LC_ALL=C.UTF-8
export WINEPREFIX="$prefix" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
# Wine links a prefix's Documents, Desktop, Pictures and the like to folders of $HOME, and keeps
# its Recycle Bin in $XDG_DATA_HOME: a clean under test would empty the real ones. Every prefix
# gets a home folder of its own beside it, inside the build.
home="$prefix-home"
export HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config"
export XDG_CACHE_HOME="$home/.cache"
unset XDG_DESKTOP_DIR XDG_DOCUMENTS_DIR XDG_MUSIC_DIR XDG_PICTURES_DIR XDG_VIDEOS_DIR
mkdir -p "$(dirname "$prefix")" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"

# Every link in the prefix's user folders must stay inside the private home.
links_stay_home() {
  local link target
  while IFS= read -r link; do
    target=$(readlink -f "$link")
    case "$target" in "$home"|"$home"/*|"$prefix"/*) ;; *) echo "$link -> $target"; return 1 ;; esac
  done < <(find "$prefix/drive_c/users" -type l 2>/dev/null)
}

# What wineboot's set-up leaves: its stamp, the machine's software keys with the crypto
# providers the signature checks use, and the user's profile folders.
prefix_complete() {
  local stamp
  stamp=$(tr -d '\r\n ' <"$prefix/.update-timestamp" 2>/dev/null || true)
  [[ "$stamp" =~ ^[0-9]+$ ]] || return 1
  grep -q 'Cryptography\\\\Defaults\\\\Provider\\\\Microsoft Enhanced RSA and AES' \
    "$prefix/system.reg" 2>/dev/null || return 1
  compgen -G "$prefix/drive_c/users/*/AppData/Roaming" >/dev/null
}

# What the tests need of a prefix, asked of Wine itself rather than of its files: the user's
# profile folders where the environment names them, the crypto provider the signature checks
# use, and a machine key that takes writes. Says what is wrong on standard error.
prefix_works() {
  local names appdata unix_appdata crypto
  crypto='HKLM\Software\Microsoft\Cryptography\Defaults\Provider\Microsoft Enhanced RSA and AES Cryptographic Provider'
  names=$("$wine" cmd /c 'echo %USERNAME%;%APPDATA%;%USERPROFILE%' 2>/dev/null | tr -d '\r')
  appdata=$(cut -d';' -f2 <<<"$names")
  unix_appdata=$("$wine" winepath -u "$appdata" 2>/dev/null || true)
  if [ -z "$unix_appdata" ] || [ ! -d "$unix_appdata" ]; then
    echo "wine-run.sh: no application data folder (user;APPDATA;USERPROFILE: $names)" >&2
    ls -la "$prefix/drive_c/users" "$prefix"/drive_c/users/*/ >&2 2>&1 || true
    return 1
  fi
  if ! "$wine" reg query "$crypto" >/dev/null 2>&1; then
    echo "wine-run.sh: the RSA and AES crypto provider is not registered" >&2
    return 1
  fi
  if ! "$wine" reg add 'HKLM\Software\QuillmossPrefixProbe' /f >/dev/null 2>&1 ||
     ! "$wine" reg delete 'HKLM\Software\QuillmossPrefixProbe' /f >/dev/null 2>&1; then
    echo "wine-run.sh: HKLM\Software takes no writes" >&2
    return 1
  fi
  /usr/lib/wine/wineserver -w 2>/dev/null || true
  echo "wine-run.sh: prefix $prefix ready for $(cut -d';' -f1 <<<"$names"), APPDATA $appdata" >&2
}

(
  flock 9
  # A prefix made before it had a home of its own may link to the real one: make it anew.
  if [ -f "$prefix/.quillmoss-ready" ] && [ "$(cat "$prefix/.quillmoss-home" 2>/dev/null)" != "$home" ]; then
    rm -rf "$prefix"
  fi
  if [ ! -f "$prefix/.quillmoss-ready" ]; then
    # wineboot complains without a display but still builds the prefix. It can also stop
    # before its set-up has run (a busy machine), leaving a prefix whose next program finishes
    # the set-up behind the tests' backs: HKLM, the crypto providers and the profile folders
    # then come and go under them. The prefix is ready only once all of it is there.
    boot_log="$prefix.boot.log"
    : >"$boot_log"
    ready=0
    for attempt in 1 2 3; do
      if [ "$attempt" = 1 ]; then flag=-i; else flag=-u; fi
      "$wine" wineboot "$flag" >>"$boot_log" 2>&1 || true
      /usr/lib/wine/wineserver -w 2>/dev/null || true
      if prefix_complete && prefix_works; then ready=1; break; fi
      echo "wine-run.sh: the Wine prefix $prefix is incomplete after wineboot $flag" >&2
    done
    if [ "$ready" != 1 ]; then
      echo "wine-run.sh: could not create the Wine prefix $prefix; wineboot said:" >&2
      tail -n 40 "$boot_log" >&2
      exit 1
    fi
    # No window manager in the tests: unmanaged windows hide without the ~2 s stall.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    /usr/lib/wine/wineserver -w 2>/dev/null || true
    if ! links_stay_home >&2; then
      echo "wine-run.sh: the prefix $prefix links outside its private home" >&2
      exit 1
    fi
    echo "$home" >"$prefix/.quillmoss-home"
    touch "$prefix/.quillmoss-ready"
  fi
  # Nothing run in a test prefix may reach past the loopback: every other address goes to a
  # proxy on a closed loopback port, so a request for the real web (an error report, say) fails
  # at once, without so much as a name look-up.
  if [ ! -f "$prefix/.quillmoss-offline" ]; then
    settings='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
    "$wine" reg add "$settings" /v ProxyEnable /t REG_DWORD /d 1 /f >/dev/null 2>&1
    "$wine" reg add "$settings" /v ProxyServer /d 127.0.0.1:9 /f >/dev/null 2>&1
    "$wine" reg add "$settings" /v ProxyOverride /d '<local>;localhost;127.0.0.1' /f >/dev/null 2>&1
    /usr/lib/wine/wineserver -w 2>/dev/null || true
    touch "$prefix/.quillmoss-offline"
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
