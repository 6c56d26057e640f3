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
export WINEPREFIX=$OUT/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

XVFB_PID=
WATCHER_PID=
cleanup() {
  [ -n "$WATCHER_PID" ] && kill "$WATCHER_PID" 2>/dev/null
  timeout 20 wineserver -k 2>/dev/null
  timeout 20 wineserver -w 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ]; then
  command -v Xvfb >/dev/null || { echo "run.sh: no DISPLAY and no Xvfb" >&2; exit 2; }
  Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$OUT/display.txt" 2>"$OUT/xvfb.log" &
  XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$OUT/display.txt" ] && break; sleep 0.1; done
  if [ ! -s "$OUT/display.txt" ]; then echo "run.sh: Xvfb did not start" >&2; exit 2; fi
  export DISPLAY=:$(head -n1 "$OUT/display.txt")
fi

echo "run.sh: preparing the Wine prefix"
timeout 120 wineboot --init >"$OUT/wineboot.log" 2>&1 || { echo "run.sh: wineboot failed" >&2; exit 2; }
timeout 60 wineserver -w
# A virtual desktop gives a taskbar with a tray, and fast window hides.
timeout 30 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d ci /f >/dev/null 2>&1
# A crash prints its backtrace and ends, instead of waiting on a dialog nobody answers.
timeout 30 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
timeout 30 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v ci /d 1024x768 /f >/dev/null 2>&1
timeout 60 wineserver -w

# The designed fonts under Wine: Liberation's faces have Arial's, Times New
# Roman's and Courier New's metrics; Tahoma, MS Sans Serif and the caption
# buttons' Marlett are Wine's own (fonts-wine), which this Wine finds only in
# the prefix's Fonts folder. Without them labels wrap differently and get cut.
WINE_FONTS=/usr/share/wine/fonts
for f in tahoma.ttf tahomabd.ttf marlett.ttf sserife.fon; do
  if [ -f "$WINE_FONTS/$f" ]; then
    cp "$WINE_FONTS/$f" "$WINEPREFIX/drive_c/windows/Fonts/"
  else
    echo "run.sh: $WINE_FONTS/$f is missing (fonts-wine); windows will not look as designed" >&2
  fi
done
for pair in 'Arial=Liberation Sans' 'Times New Roman=Liberation Serif' 'Courier New=Liberation Mono'; do
  timeout 30 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" /d "${pair#*=}" /f \
    >/dev/null 2>&1
done
timeout 60 wineserver -w

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
