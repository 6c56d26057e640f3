#!/usr/bin/env bash
# Runs bench_footprint.exe under Wine: vantrel.exe against bench_tray_minimal.exe,
# in a fresh prefix under build/bench-footprint/ on a virtual desktop (Xvfb when
# no display is set). Builds nothing; FOOTPRINT_BUILD names the i686 build folder.
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${FOOTPRINT_BUILD:-$ROOT/build/win32}
OUT=${FOOTPRINT_OUT:-$ROOT/build/bench-footprint}
BENCH=$BUILD/bench_footprint.exe
OURS=$BUILD/vantrel.exe
MINIMAL=$BUILD/bench_tray_minimal.exe
for f in "$BENCH" "$OURS" "$MINIMAL"; do
  [ -f "$f" ] || { echo "footprint.sh: $f is missing; build first" >&2; exit 2; }
done

rm -rf "$OUT"
mkdir -p "$OUT"
export WINEPREFIX=$OUT/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

XVFB_PID=
cleanup() {
  timeout 20 wineserver -k 2>/dev/null
  timeout 20 wineserver -w 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ]; then
  Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$OUT/display.txt" 2>"$OUT/xvfb.log" &
  XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$OUT/display.txt" ] && break; sleep 0.1; done
  [ -s "$OUT/display.txt" ] || { echo "footprint.sh: Xvfb did not start" >&2; exit 2; }
  export DISPLAY=:$(head -n1 "$OUT/display.txt")
fi

timeout 120 wineboot --init >"$OUT/wineboot.log" 2>&1 || { echo "footprint.sh: wineboot failed" >&2; exit 2; }
timeout 60 wineserver -w
timeout 30 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d bench /f >/dev/null 2>&1
timeout 30 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v bench /d 1024x768 /f >/dev/null 2>&1
# The fonts the windows are designed for, as the end-to-end runs have them.
for f in tahoma.ttf tahomabd.ttf marlett.ttf sserife.fon; do
  [ -f "/usr/share/wine/fonts/$f" ] && cp "/usr/share/wine/fonts/$f" "$WINEPREFIX/drive_c/windows/Fonts/"
done
timeout 30 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f >/dev/null 2>&1
# One screensaver file, so that the choice dialog opens instead of its "none found" box.
printf 'stand-in\r\n' >"$WINEPREFIX/drive_c/windows/bench.scr"
timeout 60 wineserver -w

# The minimal program is linked like every benchmark (not stripped); compare
# it stripped, as vantrel.exe ships.
cp "$MINIMAL" "$OUT/minimal.exe"
i686-w64-mingw32-strip "$OUT/minimal.exe" 2>/dev/null || true
CLASS=$(grep -o 'kClass\[\] = "[^"]*"' "$ROOT/bench/win32/bench_tray_minimal.cpp" | head -n1 | cut -d'"' -f2)
timeout 600 wine "$BENCH" "$(winepath -w "$OURS")" "$(winepath -w "$OUT/minimal.exe")" \
  ${CLASS:+--class "$CLASS"} "$@"
