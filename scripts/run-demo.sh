#!/bin/bash
# Runs the demo launcher (built by our builder around a real MSI) under Wine
# and tells what it did.
# usage: run-demo.sh RUN_BUILD_DIR SHIPPED_BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
shipped=$(cd "$2" && pwd)

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine_run="$(dirname "$0")/../tests/rig/wine-run"
wineserver=/usr/lib/wine/wineserver64
[ -x "$wineserver" ] || wineserver=wineserver
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Preparing the Wine prefix $WINEPREFIX (once)"
  "$wine_run" wineboot -i >/dev/null 2>&1 || true
  "$wineserver" -w
fi

# One server for both runs, as the test runner does: a server still ending
# from an earlier run would otherwise race the first program.
"$wineserver" -k 2>/dev/null || true
"$wineserver" -p
trap '"$wineserver" -k 2>/dev/null || true' EXIT
"$wine_run" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true

demo="$build/examples/demo"
launcher="$demo/MarkwellDemoSetup.exe"
log="$demo/demo-setup.log"
winlog="Z:${log//\//\\}"
rm -f "$log"

echo "Demo package:  $demo/demo.msi ($(msiinfo export "$demo/demo.msi" Property | awk -F'\t' '$1=="ProductName"{print $2}'))"
echo "Launcher:      $launcher"
echo "Shipped build: $shipped/examples/demo/MarkwellDemoSetup.exe"
echo "               $(file -b "$shipped/examples/demo/MarkwellDemoSetup.exe")"
echo
echo "Running under Wine: MarkwellDemoSetup.exe /v /L*v $winlog"
set +e
"$wine_run" "$launcher" /v /L*v "$winlog" </dev/null >/dev/null 2>&1
code=$?
echo "  exit code $code (0: every resource the launcher needs is in it)"
echo "Running under Wine: MarkwellDemoSetup.exe /qn /L+*v $winlog"
# Quiet: the wizard runs hidden and passes its pages by itself (the visible
# wizard would wait for someone to click).
"$wine_run" "$launcher" /qn /L+*v "$winlog" </dev/null >/dev/null 2>&1
code=$?
set -e
echo "  exit code $code"
echo
echo "Setup log ($log):"
iconv -f UTF-16LE -t UTF-8 "$log" | sed 's/^/  /'
"$wineserver" -k 2>/dev/null || true
