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
mkdir -p "$(dirname "$SHOT")"
. scripts/wine-desktop.sh
trap wine_desktop_stop EXIT
echo "Preparing a Wine prefix in $OUT/prefix..."
wine_desktop_start "$OUT" vantrel
wine "$EXE" &
sleep 5
/usr/bin/import -window root "$SHOT"
echo "Vantrel ran on a headless X server (no DISPLAY was set)."
echo "Screenshot of the desktop with its icon: $SHOT"
