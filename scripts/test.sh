#!/usr/bin/env bash
# Builds everything and runs every test: the native suites (unit and contract tests against
# the simulated machine, with AddressSanitizer and UndefinedBehaviorSanitizer), then the
# Windows builds under Wine (contract tests against the real API, end-to-end tests of
# Quillmoss.exe on a virtual display): the 64-bit one, then the 32-bit one's own suites.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

echo "== Native build (sanitizers) =="
cmake --preset native-asan >/dev/null
cmake --build --preset native-asan -j2
ctest --preset native-asan -j2
tests/fuzz/run-fuzz.sh build/fuzz 200000  # profile walk fuzzer (clang libFuzzer), ~10 s

echo "== Windows build, tests under Wine =="
cmake --preset windows >/dev/null
cmake --build --preset windows -j2
ctest --preset windows

echo "== 32-bit Windows build, its tests under Wine (WOW64 and 32-bit prefixes) =="
cmake --preset windows-x86 >/dev/null
cmake --build --preset windows-x86 -j2
ctest --preset windows-x86
