// The kill test: a writer of the settings file, on the real Win32 code, killed
// at random moments mid-save; after every kill the file must be whole, the old
// save's or the new one's. Prints one line of counts; the exit status is 0
// only when no kill left the file missing, torn or half saved.
//
// kill_test.exe [--kills N] [--max-delay MS] [--seed S]
#include "kill_run.h"

#include <algorithm>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  killtest::RunWriterIfAsked(argc, argv);
  int kills = 100;
  DWORD maxDelayMs = 40;
  unsigned seed = GetTickCount();
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--kills")
      kills = std::max(1, std::atoi(argv[i + 1]));
    else if (arg == "--max-delay")
      maxDelayMs = static_cast<DWORD>(std::strtoul(argv[i + 1], nullptr, 10));
    else if (arg == "--seed")
      seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
  }
  std::printf(
      "kill test: %d writers of the settings file killed 0-%lu ms after their first "
      "save (seed %u)\n",
      kills, static_cast<unsigned long>(maxDelayMs), seed);
  const killtest::Counts counts = killtest::RunKills(killtest::SelfPath(), kills, maxDelayMs, seed);
  killtest::PrintCounts(counts);
  if (!counts.error.empty()) return 2;
  return counts.Failed() ? 1 : 0;
}
