#!/usr/bin/env bash
# Builds Vantrel and starts it. On Linux it runs under Wine: on your display
# when DISPLAY is set (in your own Wine prefix), otherwise on a headless X
# server in a Wine virtual desktop, where it saves a screenshot of the desktop
# with the icon and then stops.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)

bash scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target vantrel
EXE=$ROOT/build/win32/vantrel.exe
echo "Built $EXE"

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting Vantrel on $DISPLAY; its icon is in the notification area."
  exec wine "$EXE"
fi

OUT=$ROOT/build/run
SHOT=$ROOT/build/screenshots/run-desktop.png
mkdir -p "$OUT" "$(dirname "$SHOT")"
export WINEPREFIX=$OUT/prefix
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$OUT/display.txt" 2>"$OUT/xvfb.log" &
XVFB_PID=$!
cleanup() {
  timeout 20 wineserver -k 2>/dev/null || true
  kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$OUT/display.txt" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$OUT/display.txt")
if [ ! -d "$WINEPREFIX/drive_c" ]; then
  echo "Preparing a Wine prefix in $WINEPREFIX (once)..."
  timeout 120 wineboot --init >"$OUT/wineboot.log" 2>&1
  timeout 60 wineserver -w
fi
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d vantrel /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v vantrel /d 1024x768 /f >/dev/null 2>&1
wine "$EXE" &
sleep 5
/usr/bin/import -window root "$SHOT"
echo "Vantrel ran on a headless X server (no DISPLAY was set)."
echo "Screenshot of the desktop with its icon: $SHOT"
