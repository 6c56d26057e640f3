#!/usr/bin/env bash
# Runs the benchmarks and prints their figures; never a test, nothing fails on
# a figure. Native: builds the bench preset and runs bench_store on the disk and
# on /dev/shm, side by side. Windows: builds the i686 programs and runs every
# Wine benchmark driver (bench/win32/bench_*.cpp) in a fresh Wine prefix on a
# virtual desktop (on Xvfb when no display is set).
#
#   bash bench/run.sh
# BENCH_WIN32_BUILD names the i686 build folder (default build/win32),
# BENCH_OUT the folder of the Wine prefix and logs (default build/bench-wine).
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
W32=${BENCH_WIN32_BUILD:-$ROOT/build/win32}
OUT=${BENCH_OUT:-$ROOT/build/bench-wine}
cd "$ROOT"

# --- Native ------------------------------------------------------------------------------
echo "== building the bench preset"
{ cmake --preset bench && cmake --build --preset bench; } >"$ROOT/build/bench-native-build.log" 2>&1 ||
  { echo "bench: the native build failed, see build/bench-native-build.log" >&2; exit 2; }
DISK=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-bench.XXXXXX")
SHM=$(mktemp -d /dev/shm/vantrel-bench.XXXXXX)
ON_DISK=$(TMPDIR=$DISK ./build/bench/bench_store 2>&1)
ON_SHM=$(TMPDIR=$SHM ./build/bench/bench_store 2>&1)
rm -rf "$DISK" "$SHM"
# One line per figure: where the two runs differ, "disk/shm".
echo "== native bench_store, figures as on-the-disk/on-/dev/shm ($(df --output=fstype "${TMPDIR:-/tmp}" | tail -n1) / tmpfs)"
paste -d '\t' <(printf '%s\n' "$ON_DISK") <(printf '%s\n' "$ON_SHM") | awk -F'\t' '{
  n = split($1, a, " "); m = split($2, b, " "); line = ""
  for (i = 1; i <= (n > m ? n : m); i++) line = line (i > 1 ? " " : "") (a[i] == b[i] ? a[i] : a[i] "/" b[i])
  print "  " line
}'

# --- Windows, under Wine ------------------------------------------------------------------
echo "== building the i686 programs in $W32"
{ cmake -S "$ROOT" -B "$W32" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel && cmake --build "$W32"; } >"$ROOT/build/bench-win32-build.log" 2>&1 ||
  { echo "bench: the i686 build failed, see build/bench-win32-build.log" >&2; exit 2; }
for tool in wine wineboot wineserver winepath timeout; do
  command -v "$tool" >/dev/null || { echo "bench: $tool not found, skipping Wine" >&2; exit 2; }
done

rm -rf "$OUT"
. "$ROOT/scripts/wine-desktop.sh"
trap wine_desktop_stop EXIT
trap 'exit 130' INT TERM
echo "== preparing the Wine prefix"
wine_desktop_start "$OUT" bench || exit 2

# Every bench_*.exe of the i686 build is a driver, run as
#   bench_X.exe <vantrel.exe> <bench_tray_minimal.exe>
# and prints its own figures; a driver that needs neither ignores them. To add
# a Wine benchmark, add bench/win32/bench_X.cpp: nothing here changes. The
# programs that drivers measure, rather than run, are listed in MEASURED.
MEASURED=" bench_tray_minimal "
OURS=$(winepath -w "$W32/vantrel.exe")
MINIMAL=$(winepath -w "$W32/bench_tray_minimal.exe")
STATUS=0
for exe in "$W32"/bench_*.exe; do
  name=$(basename "$exe" .exe)
  case "$MEASURED" in *" $name "*) continue ;; esac
  echo "== wine $name"
  timeout 600 wine "$exe" "$OURS" "$MINIMAL" 2>"$OUT/$name.stderr" | sed 's/\r$//; s/^/  /'
  rc=${PIPESTATUS[0]}
  [ "$rc" -eq 0 ] || { echo "  ($name ended with status $rc)"; STATUS=1; }
done
exit "$STATUS"
