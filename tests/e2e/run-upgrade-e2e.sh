#!/usr/bin/env bash
# The upgrade end-to-end tests, with the test site serving as the newer version the program
# under test with a few bytes after its end (Windows runs it the same), so that an installation
# that was replaced can be told from one that was not.
#   run-upgrade-e2e.sh DRIVER.exe QUILLMOSS.exe SCREENSHOT.png SITE_STATE_DIR
set -euo pipefail
driver=$1 exe=$2 shot=$3 state=$4
here=$(cd "$(dirname "$0")" && pwd)
next="$state-qmsupdate.exe"
mkdir -p "$(dirname "$next")"
{ cat "$exe"; printf 'Quillmoss, the next version\n'; } >"$next"
export QM_TEST_SITE_UPDATE_FILE="$next"
# The prefix's browser, while the test needs one: it fetches the page it is given.
export QM_E2E_BROWSER="Z:${here//\//\\}\\stand_in_browser.js"
exec "$here/../site/with-site.sh" "$state" "$here/run-e2e.sh" "$driver" "$exe" "$shot" \
  --gtest_filter='UpgradeE2E.*'
