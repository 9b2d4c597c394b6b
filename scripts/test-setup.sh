#!/bin/sh
# Installs everything the test suite needs (only what is missing) and runs the whole suite,
# as the README's test command does; with all of it installed no test is skipped, and a
# skipped test fails this script. For Debian 12 and Ubuntu 24.04 or later, as root or as a
# user with sudo:
#   sh scripts/test-setup.sh
set -eu
cd "$(dirname "$0")/.."
. scripts/setup-common.sh

# Debian's chromium; on Ubuntu the package chromium-browser installs it as a snap.
chromium=
if [ ! -x /usr/bin/chromium ] && [ ! -x /snap/bin/chromium ]; then
  chromium=chromium
  if grep -qx 'ID=ubuntu' /etc/os-release 2>/dev/null; then chromium="chromium-browser"; fi
fi
# The build; GoogleTest; the renderers of the chart tests; python3 for the JSON tests; the page
# test's browser, node and npm.
install_missing g++ cmake make libgtest-dev librsvg2-bin netpbm libxml2-utils python3:python3 \
  $chromium node:nodejs npm:npm
require_cmake

echo "== The page test's puppeteer-core (it drives the system's Chromium and downloads none)"
(cd tests/browser && npm ci --no-audit --no-fund)

echo "== Building and running the test suite"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
cmake --workflow --preset test 2>&1 | tee "$log"
# ctest's verdict, which the pipe hides from the shell, and its list of the tests that did not run.
if ! grep -q '^100% tests passed' "$log"; then status=1; fi
if grep -q '^The following tests did not run:' "$log"; then
  echo "Some tests were skipped, though everything they need should be installed." >&2
  status=1
fi
exit $status
