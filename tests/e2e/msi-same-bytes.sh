#!/usr/bin/env bash
# The package comes out the same, byte for byte, from the same inputs: built twice, seconds
# apart, in two folders, from copies of the program and icon with other file dates.
#   msi-same-bytes.sh WORK-DIR QUILLMOSS.exe QUILLMOSS.ico BUILD-MSI.py SOURCE-DIR x64|x86 VERSION
set -euo pipefail
work=$(readlink -f "$1") exe=$(readlink -f "$2") icon=$(readlink -f "$3")
build_msi=$(readlink -f "$4") source=$(readlink -f "$5") arch=$6 version=$7
rm -rf "$work"
for run in 1 2; do
  mkdir -p "$work/$run"
  cp "$exe" "$work/$run/Quillmoss.exe"
  cp "$icon" "$work/$run/quillmoss.ico"
  touch -d "@$((1500000000 + run * 86400))" "$work/$run/Quillmoss.exe" "$work/$run/quillmoss.ico"
  [ "$run" = 1 ] || sleep 2  # a clock that shows through would differ by now
  python3 "$build_msi" --arch "$arch" --version "$version" --exe "$work/$run/Quillmoss.exe" \
    --icon "$work/$run/quillmoss.ico" --source "$source" --out "$work/$run/package.msi" >/dev/null
done
cmp "$work/1/package.msi" "$work/2/package.msi"
echo "the package is the same, byte for byte, in both builds"
