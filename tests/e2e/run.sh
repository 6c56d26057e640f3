#!/usr/bin/env bash
# Runs the end-to-end cases against build/win32/vantrel.exe under Wine, in a
# fresh Wine prefix under build/e2e/, on a virtual desktop (Xvfb when no
# display is set). Screenshots go to build/screenshots/. Builds nothing.
# Exit status: the driver's (0 when every case passed).
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD=${E2E_BUILD:-$ROOT/build/win32}
EXE=$BUILD/vantrel.exe
DRIVER=$BUILD/tests/e2e/e2e_driver.exe
OUT=${E2E_OUT:-$ROOT/build/e2e}
SHOTS=$ROOT/build/screenshots
FILTER=${1:-}

for f in "$EXE" "$DRIVER" "$BUILD/tests/e2e/menuspy.dll"; do
  if [ ! -f "$f" ]; then
    echo "run.sh: $f is missing; build first: cmake --preset win32 && cmake --build --preset win32" >&2
    exit 2
  fi
done
for tool in wine wineboot wineserver winepath /usr/bin/import timeout; do
  command -v "$tool" >/dev/null || { echo "run.sh: $tool not found" >&2; exit 2; }
done

rm -rf "$OUT"
mkdir -p "$OUT/requests" "$SHOTS"
. "$ROOT/scripts/wine-desktop.sh"

WATCHER_PID=
cleanup() {
  [ -n "$WATCHER_PID" ] && kill "$WATCHER_PID" 2>/dev/null
  wine_desktop_stop
}
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "run.sh: preparing the Wine prefix"
wine_desktop_start "$OUT" ci || exit 2

# The driver asks for a screenshot by writing requests/request.txt with a name.
(
  while true; do
    if [ -f "$OUT/requests/request.txt" ]; then
      name=$(tr -cd 'A-Za-z0-9_-' <"$OUT/requests/request.txt")
      [ -n "$name" ] && timeout 20 /usr/bin/import -window root "$SHOTS/$name.png" 2>>"$OUT/import.log"
      rm -f "$OUT/requests/request.txt"
    fi
    sleep 0.1
  done
) &
WATCHER_PID=$!

echo "run.sh: running the driver"
timeout 600 wine "$DRIVER" "$(winepath -w "$EXE")" --shots "$(winepath -w "$OUT/requests")" \
  ${FILTER:+--filter "$FILTER"} 2>"$OUT/driver-stderr.log" | tee "$OUT/driver.log"
STATUS=${PIPESTATUS[0]}
if [ "$STATUS" -eq 124 ]; then echo "run.sh: the driver timed out" >&2; fi
if ! grep -q '^e2e: [0-9]* passed, [0-9]* failed' "$OUT/driver.log"; then
  echo "run.sh: the driver did not finish its report" >&2
  [ "$STATUS" -eq 0 ] && STATUS=1
fi
exit "$STATUS"
