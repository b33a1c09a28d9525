#!/usr/bin/env bash
# Installs what building and testing Quillmoss needs on a Debian machine (run as root).
# Packages already present are left alone, so a second run costs a second.
set -euo pipefail
packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev clang-format nsis
          mingw-w64 wine64 xvfb xauth x11-utils imagemagick clang libclang-rt-14-dev
          python3 openssl libssl-dev faketime curl nlohmann-json3-dev
          msitools wixl)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # With their recommended packages: Wine and Xvfb are tested that way (xvfb-run, for one,
  # needs xauth, which Xvfb only recommends).
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi
# SQLite's amalgamation, pinned by checksum (third_party/sqlite/fetch.sh says from where).
"$(dirname "$0")/../third_party/sqlite/fetch.sh"
