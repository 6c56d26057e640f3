#!/usr/bin/env bash
# Builds everything and runs every test: unit tests under ASan + UBSan, a short
# fuzz run of the settings-file format, the Windows builds (x86-64 and i686),
# the release (signed with a throwaway certificate, its hashes and manifests
# checked, two clean builds compared byte for byte), and the end-to-end tests
# of the real program under Wine: the 64-bit build everywhere, the 32-bit one
# where this machine runs 32-bit programs; then the kill test of the settings
# file under Wine. Ends with one summary line; exits non-zero when anything
# failed.
set -uo pipefail
cd "$(dirname "$0")/.."

FUZZ_SECONDS=${FUZZ_SECONDS:-30}
passed=0
failed=0
log_dir=build/logs
mkdir -p "$log_dir"

step() { echo; echo "=== $*"; }
fail() { echo "FAILED: $*"; failed=$((failed + 1)); }

# Adds the counts of a ctest run's summary ("N% tests passed, F tests failed out of T").
count_ctest() {
  local line total bad
  line=$(grep -E "tests failed out of [0-9]+" "$1" | tail -n 1)
  if [ -z "$line" ]; then fail "$2 (no test summary)"; return; fi
  bad=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* tests failed out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

step "Dependencies"
bash scripts/install-deps.sh || { fail "installing dependencies"; }

step "Unit tests (native, AddressSanitizer + UndefinedBehaviorSanitizer)"
if cmake --preset native >"$log_dir/native-configure.log" 2>&1 &&
   cmake --build --preset native 2>&1 | tee "$log_dir/native-build.log" | tail -n 3 &&
   [ "${PIPESTATUS[0]}" -eq 0 ]; then
  ctest --preset native -j2 --timeout 300 2>&1 | tee "$log_dir/unit.log" | grep -vE "^ +[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed" 
  count_ctest "$log_dir/unit.log" "unit tests"
else
  cat "$log_dir/native-configure.log"; fail "native build"
fi

step "Fuzzing the settings-file format (${FUZZ_SECONDS}s per target)"
if cmake --preset fuzz >"$log_dir/fuzz-configure.log" 2>&1 &&
   cmake --build --preset fuzz >"$log_dir/fuzz-build.log" 2>&1; then
  for fuzzer in build/fuzz/fuzz_*; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    corpus=build/fuzz/corpus-$name
    mkdir -p "$corpus"
    if "$fuzzer" -max_total_time="$FUZZ_SECONDS" -max_len=4096 -rss_limit_mb=2048 \
        "$corpus" tests/fuzz/seeds >"$log_dir/$name.log" 2>&1; then
      echo "$name: passed ($(grep -Eo 'Done [0-9]+ runs' "$log_dir/$name.log" | tail -n 1))"
      passed=$((passed + 1))
    else
      tail -n 30 "$log_dir/$name.log"; fail "$name"
    fi
  done
else
  tail -n 30 "$log_dir/fuzz-build.log"; fail "fuzz build"
fi

step "Windows builds (MinGW-w64: x86-64 shipped as vantrel.exe, i686 as vantrel-x86.exe)"
for preset in win-x64 win-x86; do
  if cmake --preset $preset >"$log_dir/$preset-configure.log" 2>&1 &&
     cmake --build --preset $preset >"$log_dir/$preset-build.log" 2>&1; then
    echo "$preset build: passed"
    passed=$((passed + 1))
  else
    tail -n 40 "$log_dir/$preset-configure.log" "$log_dir/$preset-build.log"; fail "$preset build"
  fi
done

step "Release: signed with a throwaway certificate, hashes and manifests checked, rebuilt byte for byte"
bash tests/release/run.sh 2>&1 | tee "$log_dir/release.log"
release_line=$(grep -E "^release: [0-9]+ passed, [0-9]+ failed" "$log_dir/release.log" | tail -n 1)
if [ -n "$release_line" ]; then
  passed=$((passed + $(sed -E 's/^release: ([0-9]+) passed.*/\1/' <<<"$release_line")))
  failed=$((failed + $(sed -E 's/.* ([0-9]+) failed.*/\1/' <<<"$release_line")))
else
  fail "release tests (no summary; log: $log_dir/release.log)"
fi

# Whether this machine runs 32-bit programs is found out once, here.
. scripts/wine-desktop.sh
wine_check_32bit

# Runs the whole suite against one build and adds its summary to the totals.
e2e_run() {
  local arch=$1 label=$2 line
  step "End-to-end tests under Wine: the $label build"
  if [ ! -f "build/win-$arch/vantrel.exe" ]; then fail "e2e $label (no build/win-$arch/vantrel.exe)"; return; fi
  local status
  E2E_ARCH=$arch bash tests/e2e/run.sh 2>&1 | tee "$log_dir/e2e-$arch.log"
  status=${PIPESTATUS[0]}
  line=$(grep -E "^e2e: [0-9]+ passed, [0-9]+ failed" "$log_dir/e2e-$arch.log" | tail -n 1)
  if [ -n "$line" ]; then
    echo "e2e ($label): ${line#e2e: }"
    passed=$((passed + $(sed -E 's/^e2e: ([0-9]+) passed.*/\1/' <<<"$line")))
    failed=$((failed + $(sed -E 's/.* ([0-9]+) failed.*/\1/' <<<"$line")))
    # A run that reported no failure but did not end cleanly still fails.
    [ "$status" -ne 0 ] && [[ "$line" == *" 0 failed"* ]] && fail "e2e $label (run ended with status $status)"
  else
    fail "e2e $label (no summary; log: $log_dir/e2e-$arch.log)"
  fi
}
e2e_run x64 x86-64
if [ "$VANTREL_RUNS_32BIT" = yes ]; then
  e2e_run x86 i686
else
  echo
  echo "e2e (i686): skipped: $VANTREL_NO_32BIT_WHY"
fi

# One test: the settings file after 100 kills of a writer mid-save, on the real
# Win32 code (the 64-bit build; the file code is the same in both).
step "Kill test under Wine: the settings file's writer killed mid-save (x86-64 build)"
bash tests/kill/run.sh --kills 100 2>&1 | tee "$log_dir/kill-x64.log"
kill_status=${PIPESTATUS[0]}
kill_line=$(grep -E "^kills: [0-9]+" "$log_dir/kill-x64.log" | tail -n 1)
echo
if [ "$kill_status" -eq 0 ] && [ -n "$kill_line" ]; then
  echo "kill test (x86-64): passed: $kill_line"
  passed=$((passed + 1))
else
  fail "kill test (x86-64): ${kill_line:-no summary} (log: $log_dir/kill-x64.log)"
fi

echo
echo "total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
