#!/usr/bin/env bash
# Runs the benchmarks and prints their figures; never a test, nothing fails on
# a figure. Native: builds the bench preset and runs bench_store on the disk and
# on /dev/shm, side by side. Windows: builds the x86-64 programs (and the i686
# ones where this machine runs 32-bit programs) and runs every Wine benchmark
# driver (bench/win32/bench_*.cpp) on a virtual desktop (on Xvfb when no display
# is set), each in a fresh Wine prefix of its own, so that none meets what
# another left: processes, settings files, registry values, the tray's state.
#
#   bash bench/run.sh
# BENCH_OUT names the folder of the Wine prefixes and logs (default
# build/bench-wine, suffixed -x64 and -x86).
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
OUT=${BENCH_OUT:-$ROOT/build/bench-wine}
cd "$ROOT"
mkdir -p "$ROOT/build"

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
# The shipped 64-bit build always; the 32-bit one too where this machine runs
# 32-bit programs. Each in a fresh prefix of its own, one after the other.
. "$ROOT/scripts/wine-desktop.sh"
for tool in wineboot wineserver winepath timeout; do
  command -v "$tool" >/dev/null || { echo "bench: $tool not found, skipping Wine" >&2; exit 2; }
done
trap wine_desktop_stop EXIT
trap 'exit 130' INT TERM
wine_check_32bit
WINE_VERSION=$(/usr/lib/wine/wine64 --version 2>/dev/null || echo "Wine, version unknown")

# Every bench_*.exe of a build is a driver, run as
#   bench_X.exe <vantrel.exe> <bench_tray_minimal.exe>
# and prints its own figures; a driver that needs neither ignores them. To add
# a Wine benchmark, add bench/win32/bench_X.cpp: nothing here changes. The
# programs that drivers measure, rather than run, are listed in MEASURED.
MEASURED=" bench_tray_minimal "
STATUS=0
wine_benchmarks() {
  local arch=$1 label=$2 build=$ROOT/build/win-$1 out=$OUT-$1 exe name rc
  echo "== building the $label programs in $build"
  { cmake --preset "win-$arch" && cmake --build --preset "win-$arch"; } >"$ROOT/build/bench-win-$arch-build.log" 2>&1 ||
    { echo "bench: the $label build failed, see build/bench-win-$arch-build.log" >&2; STATUS=2; return; }
  rm -rf "$out"
  wine_use_arch "$arch" "$out" || { echo "bench: cannot run the $label build: $WINE_ARCH_WHY" >&2; STATUS=2; return; }
  echo "== preparing the Wine prefix ($label, $WINE_VERSION)"
  wine_desktop_start "$out" bench || { STATUS=2; return; }
  local ours minimal
  ours=$(winepath -w "$build/vantrel.exe")
  minimal=$(winepath -w "$build/bench_tray_minimal.exe")
  # Prepared once and copied for each driver: a copy takes seconds, a new
  # prefix a quarter of a minute.
  timeout 20 wineserver -k >/dev/null 2>&1
  timeout 60 wineserver -w
  mv "$WINEPREFIX" "$out/fresh-prefix"
  for exe in "$build"/bench_*.exe; do
    name=$(basename "$exe" .exe)
    case "$MEASURED" in *" $name "*) continue ;; esac
    echo "== wine $name ($label)"
    cp -a "$out/fresh-prefix" "$WINEPREFIX"
    # To a file, not a pipe: a program that a driver started and left would
    # hold a pipe open.
    timeout 900 wine "$exe" "$ours" "$minimal" >"$out/$name.log" 2>"$out/$name.stderr"
    rc=$?
    sed 's/\r$//; s/^/  /' "$out/$name.log"
    [ "$rc" -eq 0 ] || { echo "  ($name ended with status $rc)"; STATUS=1; }
    # Whatever the driver left running ends with its prefix.
    timeout 20 wineserver -k >/dev/null 2>&1
    timeout 60 wineserver -w
    rm -rf "$WINEPREFIX"
  done
  rm -rf "$out/fresh-prefix"
  wine_desktop_stop
  # The figures that decide whether the settings file and the program are
  # fit, side by side.
  echo "== in short ($label)"
  grep -h -E "^ *(kills:|exe size:|start to icon:|private memory:|memory once the menu|a press with the file held|wine save ratio)" \
    "$out"/bench_*.log | sed 's/\r$//; s/^ */  /'
}

wine_benchmarks x64 x86-64
if [ "$VANTREL_RUNS_32BIT" = yes ]; then
  wine_benchmarks x86 i686
else
  echo "== the i686 build: skipped: $VANTREL_NO_32BIT_WHY"
fi
exit "$STATUS"
