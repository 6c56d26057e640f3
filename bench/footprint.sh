#!/usr/bin/env bash
# Runs bench_footprint.exe under Wine: vantrel.exe against bench_tray_minimal.exe,
# in a fresh prefix under build/bench-footprint/ on a virtual desktop (Xvfb when
# no display is set). Builds nothing; FOOTPRINT_ARCH is x64 (default) or x86,
# FOOTPRINT_BUILD names another build folder of that architecture.
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ARCH=${FOOTPRINT_ARCH:-x64}
BUILD=${FOOTPRINT_BUILD:-$ROOT/build/win-$ARCH}
OUT=${FOOTPRINT_OUT:-$ROOT/build/bench-footprint}
BENCH=$BUILD/bench_footprint.exe
OURS=$BUILD/vantrel.exe
MINIMAL=$BUILD/bench_tray_minimal.exe
for f in "$BENCH" "$OURS" "$MINIMAL"; do
  [ -f "$f" ] || { echo "footprint.sh: $f is missing; build first" >&2; exit 2; }
done

rm -rf "$OUT"
. "$ROOT/scripts/wine-desktop.sh"
wine_use_arch "$ARCH" "$OUT" || { echo "footprint.sh: cannot run the $ARCH build: $WINE_ARCH_WHY" >&2; exit 2; }
trap wine_desktop_stop EXIT
trap 'exit 130' INT TERM
wine_desktop_start "$OUT" bench || exit 2
# One screensaver file, so that the choice dialog opens instead of its "none found" box.
printf 'stand-in\r\n' >"$WINEPREFIX/drive_c/windows/bench.scr"
timeout 60 wineserver -w

CLASS=$(grep -o 'kClass\[\] = "[^"]*"' "$ROOT/bench/win32/bench_tray_minimal.cpp" | head -n1 | cut -d'"' -f2)
timeout 600 wine "$BENCH" "$(winepath -w "$OURS")" "$(winepath -w "$MINIMAL")" \
  ${CLASS:+--class "$CLASS"} "$@"
