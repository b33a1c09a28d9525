#!/usr/bin/env bash
# Fails when a file of a src/ folder includes a header of a folder that stands above it. The
# folders, lowest first: each may use its own and the ones before it, never the ones after.
set -uo pipefail
cd "$(dirname "$0")/.."
order=(platform paths controls database errors settings sysinfo cleaners browsers clean
       update reboot links ietoolbar background cli options app gui)
declare -A rank
for i in "${!order[@]}"; do rank[${order[$i]}]=$i; done
bad=0
for dir in src/*/; do
  folder=$(basename "$dir")
  [[ -n "${rank[$folder]+x}" ]] || { echo "src/$folder/ has no place in the order"; bad=1; continue; }
  while IFS= read -r hit; do
    to=$(sed -E 's/.*#include "([a-z_0-9]+)\/.*/\1/' <<<"$hit")
    [[ -n "${rank[$to]+x}" ]] || continue  # one of the folder's own sub-folders
    if (( rank[$to] > rank[$folder] )); then echo "reaches up: ${hit%%:*} -> $to/"; bad=1; fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include "[a-z_0-9]+/' "$dir")
done
exit "$bad"
