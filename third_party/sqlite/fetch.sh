#!/usr/bin/env bash
# Puts SQLite's amalgamation (sqlite3.c, sqlite3.h) into third_party/sqlite/source/, taken from
# the npm package better-sqlite3 12.11.1, which carries SQLite 3.53.2 unchanged as
# deps/sqlite3/. The package and both files are checked against the checksums below, so a
# changed package or a broken download stops the build instead of reaching it.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
package=better-sqlite3
version=12.11.1
package_sha256=ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835
source_sha256=60d2f39a3726cd6b9021da6f4e868608d66fbb6528a9f513dc8ffcc640493422
header_sha256=9e69a1353a4288450b0d5239ede11fc7f1f4c8e5eb07491fc8317eacb5b7de7e
target="$here/source"

if [ -f "$target/sqlite3.c" ] &&
   echo "$source_sha256  $target/sqlite3.c" | sha256sum -c --status &&
   echo "$header_sha256  $target/sqlite3.h" | sha256sum -c --status; then
  exit 0
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
url="https://registry.npmjs.org/$package/-/$package-$version.tgz"
echo "Fetching SQLite from $url"
curl -fsSL --retry 3 -o "$work/package.tgz" "$url"
echo "$package_sha256  $work/package.tgz" | sha256sum -c --status || {
  echo "fetch.sh: $package-$version.tgz does not have the expected checksum" >&2; exit 1; }
tar -xzf "$work/package.tgz" -C "$work" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
echo "$source_sha256  $work/package/deps/sqlite3/sqlite3.c" | sha256sum -c --status &&
  echo "$header_sha256  $work/package/deps/sqlite3/sqlite3.h" | sha256sum -c --status || {
  echo "fetch.sh: the package's SQLite files do not have the expected checksums" >&2; exit 1; }
mkdir -p "$target"
cp "$work/package/deps/sqlite3/sqlite3.c" "$work/package/deps/sqlite3/sqlite3.h" "$target/"
