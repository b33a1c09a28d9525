#!/usr/bin/env bash
# Runs a command while the test site serves: starts tests/site/test_site.py with its state in
# STATE_DIR (made anew) and its CA in STATE_DIR-ca (kept), exports where it listens, runs the
# command, stops the site, passes the status on.
#   with-site.sh STATE_DIR command args...
# The command sees QM_TEST_SITE (https://localhost:<port>), QM_TEST_SITE_UNTRUSTED (the same
# site under a certificate no one trusts), QM_TEST_SITE_CA (the CA's DER file) and
# QM_TEST_SITE_LOG (the request log) and QM_TEST_SITE_KEY (the public key that signs the
# site's update files, PEM), the files as Windows programs under Wine name them too.
# QM_TEST_SITE_UPDATE_FILE, when set, is what the site serves as /qmsupdate.exe.
set -euo pipefail
state="${1:?state folder}"; shift
here="$(cd "$(dirname "$0")" && pwd)"
rm -rf "$state"; mkdir -p "$state"
python3 "$here/test_site.py" "$state" "$state-ca" \
  ${QM_TEST_SITE_UPDATE_FILE:+--update-file "$QM_TEST_SITE_UPDATE_FILE"} &
site=$!
trap 'kill "$site" 2>/dev/null || true; wait "$site" 2>/dev/null || true' EXIT
for _ in $(seq 300); do
  [ -f "$state/port" ] && break
  kill -0 "$site" 2>/dev/null || { echo "with-site.sh: the test site did not start" >&2; exit 1; }
  sleep 0.1
done
[ -f "$state/port" ] || { echo "with-site.sh: the test site did not start" >&2; exit 1; }
windows_name() { printf 'Z:%s' "${1//\//\\}"; }
export QM_TEST_SITE="https://localhost:$(cat "$state/port")"
export QM_TEST_SITE_UNTRUSTED="https://localhost:$(cat "$state/untrusted_port")"
export QM_TEST_SITE_CA="$(windows_name "$state-ca/ca.der")"
export QM_TEST_SITE_LOG="$(windows_name "$state/requests.log")"
export QM_TEST_SITE_KEY="$(windows_name "$state-ca/sign-pub.pem")"
status=0
"$@" || status=$?
exit "$status"
