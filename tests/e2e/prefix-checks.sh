# Sourced by the installers' tests: checks counted by name, Wine run in the test's prefix
# ($prefix, beside which wine-run.sh gives it a home of its own), and the prefix's registry
# read back from its files. The sourcing script sets $here and $prefix first.
failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
wine() { "$here/../wine/wine-run.sh" "$@"; }
# Every program of the prefix has ended and the registry files are written. One that will
# not end is left to the checks.
settle() { timeout 120 /usr/lib/wine/wineserver -w || true; }

# The sections of the prefix's registry files under the given key paths, without their times.
reg_sections() {  # reg_sections KEY... (as the files spell them, any case)
  local file
  for file in system.reg user.reg; do
    QM_KEYS="$(printf '%s\n' "$@")" awk -v file="$file" '
      BEGIN { n = split(tolower(ENVIRON["QM_KEYS"]), wanted, "\n") }
      /^\[/ {
        key = $0; sub(/\] [0-9]+$/, "]", key); keep = 0
        for (i = 1; i <= n; i++) {
          if (wanted[i] == "") continue
          if (index(tolower(key), "[" wanted[i] "]") == 1 || index(tolower(key), "[" wanted[i] "\\\\") == 1) keep = 1
        }
        if (keep) print file " " key
        next
      }
      /^#time=/ { next }
      keep && NF { print file " " $0 }' "$prefix/$file"
  done
}
