#!/usr/bin/env bash
# Runs the end-to-end cases against one build of vantrel.exe under Wine, in a
# fresh Wine prefix on a virtual desktop (Xvfb when no display is set).
# Screenshots go to build/screenshots/. Builds nothing.
#
#   bash tests/e2e/run.sh [name-filter]
# E2E_ARCH: x64 (default; build/win-x64, Wine's 64-bit loader) or x86
#   (build/win-x86, the 32-bit loader, where this machine runs 32-bit programs).
# E2E_BUILD, E2E_OUT: another build folder, another output folder (default
#   build/e2e-<arch>), so that two runs never share a prefix or a build.
# E2E_TIMEOUT: seconds the whole driver may take (default 900).
# Exit status: the driver's (0 when every case passed), 2 when it could not run.
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
ARCH=${E2E_ARCH:-x64}
BUILD=${E2E_BUILD:-$ROOT/build/win-$ARCH}
EXE=$BUILD/vantrel.exe
DRIVER=$BUILD/tests/e2e/e2e_driver.exe
OUT=${E2E_OUT:-$ROOT/build/e2e-$ARCH}
SHOTS=$ROOT/build/screenshots
FILTER=${1:-}
LIMIT=${E2E_TIMEOUT:-900}

for f in "$EXE" "$DRIVER" "$BUILD/tests/e2e/menuspy.dll"; do
  if [ ! -f "$f" ]; then
    echo "run.sh: $f is missing; build first: cmake --preset win-$ARCH && cmake --build --preset win-$ARCH" >&2
    exit 2
  fi
done
for tool in wine wineboot wineserver winepath /usr/bin/import timeout; do
  command -v "$tool" >/dev/null || { echo "run.sh: $tool not found (bash scripts/install-deps.sh)" >&2; exit 2; }
done

rm -rf "$OUT"
mkdir -p "$OUT/requests" "$SHOTS"
. "$ROOT/scripts/wine-desktop.sh"
wine_use_arch "$ARCH" "$OUT" || { echo "run.sh: cannot run the $ARCH build: $WINE_ARCH_WHY" >&2; exit 2; }

WATCHER_PID=
TAIL_PID=
cleanup() {
  [ -n "$TAIL_PID" ] && kill "$TAIL_PID" 2>/dev/null
  [ -n "$WATCHER_PID" ] && kill "$WATCHER_PID" 2>/dev/null
  wine_desktop_stop
}
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "run.sh: preparing the Wine prefix ($ARCH)"
wine_desktop_start "$OUT" ci || exit 2

# The driver asks for a screenshot by writing requests/request.txt with a name,
# and the rectangle to keep ("name x y width height") when it names a window.
(
  while true; do
    if [ -f "$OUT/requests/request.txt" ]; then
      read -r name x y w h <"$OUT/requests/request.txt"
      name=$(tr -cd 'A-Za-z0-9_-' <<<"$name")
      if [ -n "$name" ]; then
        crop=()
        [ -n "${h:-}" ] && crop=(-crop "${w}x${h}+${x}+${y}" +repage)
        timeout 20 /usr/bin/import -window root "${crop[@]}" "$SHOTS/$name.png" 2>>"$OUT/import.log"
      fi
      rm -f "$OUT/requests/request.txt"
    fi
    sleep 0.1
  done
) &
WATCHER_PID=$!

# The driver writes to a file, not a pipe: the program it starts inherits its
# output, and a pipe would stay open for as long as any program lives on.
echo "run.sh: running the driver"
: >"$OUT/driver.log"
wine "$DRIVER" "$(winepath -w "$EXE")" --shots "$(winepath -w "$OUT/requests")" \
  ${FILTER:+--filter "$FILTER"} >"$OUT/driver.log" 2>"$OUT/driver-stderr.log" &
DRIVER_PID=$!
tail -n +1 -f --pid="$DRIVER_PID" "$OUT/driver.log" | sed -u 's/\r$//' &
TAIL_PID=$!

# Once the driver has reported, or its time is up, the prefix is ended, so a
# hung program cannot hang the run.
STATUS=
reported=
started=$SECONDS
while kill -0 "$DRIVER_PID" 2>/dev/null; do
  if [ -z "$reported" ] && grep -q '^e2e: [0-9]* passed, [0-9]* failed' "$OUT/driver.log"; then
    reported=$SECONDS
  fi
  if [ -n "$reported" ] && [ $((SECONDS - reported)) -ge 15 ]; then
    echo "run.sh: the driver reported but did not end; ending the Wine prefix" >&2
    STATUS=1
    break
  fi
  if [ $((SECONDS - started)) -ge "$LIMIT" ]; then
    echo "run.sh: the driver did not finish in $LIMIT s; ending the Wine prefix" >&2
    STATUS=124
    break
  fi
  sleep 1
done
if [ -z "$STATUS" ]; then
  wait "$DRIVER_PID"
  STATUS=$?
fi
timeout 20 wineserver -k >/dev/null 2>&1
wait "$DRIVER_PID" 2>/dev/null
wait "$TAIL_PID" 2>/dev/null
TAIL_PID=

if ! grep -q '^e2e: [0-9]* passed, [0-9]* failed' "$OUT/driver.log"; then
  echo "run.sh: the driver did not finish its report (log: $OUT/driver.log)" >&2
  [ "$STATUS" -eq 0 ] && STATUS=1
fi
exit "$STATUS"
