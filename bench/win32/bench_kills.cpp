// The settings file under kills, as a figure: the kill test's writer (the
// edit window's save on the real Win32 code) killed at random moments mid-save,
// 1,000 times by default, with the file judged after each kill.
//
// bench_kills.exe [<vantrel.exe> <bench_tray_minimal.exe>] [--runs N]
#include "../../tests/kill/kill_run.h"

#include "bench_common.h"

int main(int argc, char** argv) {
  killtest::RunWriterIfAsked(argc, argv);
  const bench::Arguments args = bench::ReadArguments(argc, argv, 1000);
  const unsigned seed = GetTickCount();
  const double start = bench::NowMs();
  const killtest::Counts counts = killtest::RunKills(killtest::SelfPath(), args.runs, 40, seed);
  std::printf(
      "settings file, a writer killed 0-40 ms after its first save, %d times (seed %u, "
      "%.0f s):\n  ",
      args.runs, seed, (bench::NowMs() - start) / 1000);
  killtest::PrintCounts(counts);
  std::printf("  targets: missing, torn and half-saved 0\n");
  return counts.error.empty() ? 0 : 1;
}
