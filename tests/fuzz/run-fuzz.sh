#!/usr/bin/env bash
# Builds the profile walk fuzzer and the browser profile list fuzzer with clang's libFuzzer and
# runs each over a fixed number of inputs, starting from its seed corpus. Usage: tests/fuzz/run-fuzz.sh [build folder] [runs]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
out="${1:-$root/build/fuzz}"
runs="${2:-200000}"
if ! command -v clang++ >/dev/null; then
  echo "clang++ not found: the fuzzer needs clang's libFuzzer" >&2
  exit 1
fi
mkdir -p "$out/corpus"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -Wall -Wextra -Werror -I"$root/src" \
  "$root/tests/fuzz/profile_walk_fuzzer.cpp" "$root/src/cleaners/netscape_profiles.cpp" \
  "$root/src/paths/folder_path.cpp" "$root/src/platform/sim/windows_1252.cpp" \
  -o "$out/profile_walk_fuzzer"
# New inputs go to the build folder's corpus; the checked-in seeds are only read.
"$out/profile_walk_fuzzer" -runs="$runs" -max_len=2048 -seed=1 \
  -dict="$root/tests/fuzz/profile_walk.dict" -artifact_prefix="$out/" \
  "$out/corpus" "$root/tests/fuzz/corpus"

# The browsers' profile lists: Local State (JSON) and profiles.ini.
mkdir -p "$out/browser_corpus"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -Wall -Wextra -Werror -I"$root/src" \
  "$root/tests/fuzz/browser_lists_fuzzer.cpp" "$root/src/browsers/profile_texts.cpp" \
  "$root/src/paths/folder_path.cpp" -o "$out/browser_lists_fuzzer"
"$out/browser_lists_fuzzer" -runs="$runs" -max_len=4096 -seed=1 -artifact_prefix="$out/" \
  "$out/browser_corpus" "$root/tests/fuzz/browser_corpus"
