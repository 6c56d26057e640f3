#!/usr/bin/env bash
# Runs the kill test (kill_test.exe) of the x86-64 build under Wine's 64-bit
# loader, in a fresh Wine prefix of its own. Builds nothing. Prints the test's
# lines, the last one "kills: N, missing M, torn T, half-saved H, leftovers L".
#
#   bash tests/kill/run.sh [--kills N]
# KILL_BUILD, KILL_OUT: another build folder, another output folder (default
#   build/win-x64, build/kill-x64).
# Exit status: the test's (0 when no kill left the file missing, torn or half
# saved; 1 when one did), 2 when it could not run.
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD=${KILL_BUILD:-$ROOT/build/win-x64}
OUT=${KILL_OUT:-$ROOT/build/kill-x64}
EXE=$BUILD/tests/kill/kill_test.exe

if [ ! -f "$EXE" ]; then
  echo "kill: $EXE is missing; build first: cmake --preset win-x64 && cmake --build --preset win-x64" >&2
  exit 2
fi
rm -rf "$OUT"
. "$ROOT/scripts/wine-desktop.sh"
wine_use_arch x64 "$OUT" || { echo "kill: cannot run the x64 build: $WINE_ARCH_WHY" >&2; exit 2; }
trap wine_desktop_stop EXIT
trap 'exit 130' INT TERM
wine_desktop_start "$OUT" kill || exit 2

# Output to a file, not a pipe: a writer that outlived its kill would hold a
# pipe open.
timeout 300 wine "$EXE" "$@" >"$OUT/kill.log" 2>"$OUT/kill-stderr.log"
STATUS=$?
sed 's/\r$//' "$OUT/kill.log"
if [ "$STATUS" -eq 124 ]; then
  echo "kill: the test did not finish in 300 s" >&2
  STATUS=2
fi
exit "$STATUS"
