#!/bin/bash
# Runs every test of one build tree under Wine: a private prefix inside the
# build tree (never ~/.wine), one persistent wineserver for the whole run,
# stopped at the end, and a virtual X display for the programs' windows.
# usage: run-tests.sh BUILD_DIR [ctest arguments...]
set -euo pipefail
build=$(cd "$1" && pwd)
shift

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$@"
fi

export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wineserver=/usr/lib/wine/wineserver64
[ -x "$wineserver" ] || wineserver=wineserver

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Preparing the Wine prefix $WINEPREFIX"
  "$(dirname "$0")/../tests/rig/wine-run" wineboot -i >/dev/null 2>&1 || true
  "$wineserver" -w
fi
# A server left running in this prefix (an earlier run that was stopped)
# would make the persistent start wait for it.
"$wineserver" -k 2>/dev/null || true
"$wineserver" -p
trap '"$wineserver" -k 2>/dev/null || true' EXIT
# The first program of a new server session starts Wine's own services and
# desktop, which live on with the handles they inherited. Start them here,
# away from any test's output pipe, or ctest would wait for that pipe to
# close until the server ends.
# That first program also gives the prefix the Japanese font a Japanese
# Windows has: Wine links Tahoma to "MS UI Gothic" for Japanese text, which
# here is answered by a free Japanese font (IPA P Gothic).
start=$(date +%s)
if timeout -s KILL 120 "$(dirname "$0")/../tests/rig/wine-run" reg add "HKCU\\Software\\Wine\\Fonts\\Replacements" \
     /v "MS UI Gothic" /d "IPAPGothic" /f </dev/null >/dev/null 2>&1; then
  echo "Wine is ready ($(( $(date +%s) - start )) s)"
else
  echo "Wine warm-up did not finish; running the tests anyway"
fi

ctest --test-dir "$build" --output-on-failure "$@"
