// Left-press menu latency of vantrel.exe against the minimal tray program, in
// one run: both programs are started once and kept running; presses then
// alternate between them. Each press posts the tray callback 513 to the
// program's hidden window and times until its pop-up menu window (#32768) is
// visible; Escape then dismisses it. A few presses first warm both up; the
// first press after start is shown apart.
//
// bench_menu_latency.exe <vantrel.exe> <bench_tray_minimal.exe> [--runs N]
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "bench_common.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using bench::Median;
using bench::Tray;

constexpr int kWarmUp = 3;

}  // namespace

int main(int argc, char** argv) {
  const bench::Arguments args = bench::ReadArguments(argc, argv, 30);
  const std::string& ours = args.ours;
  const std::string& minimal = args.minimal;
  const int runs = args.runs;
  if (ours.empty() || minimal.empty()) {
    std::printf("usage: bench_menu_latency <vantrel.exe> <bench_tray_minimal.exe> [--runs N]\n");
    return 2;
  }

  Tray trays[2] = {{"vantrel", "\"" + ours + "\"", "TForm1"},
                   {"minimal", "\"" + minimal + "\" --menu", "VantrelMinimalTray"}};
  double first[2] = {};
  for (int k = 0; k < 2; ++k) {
    if (!trays[k].Start()) {
      std::printf("menu latency: %s did not start\n", trays[k].Label().c_str());
      return 1;
    }
    first[k] = trays[k].PressAndDismiss();
  }
  std::vector<double> ms[2];
  for (int i = 0; i < kWarmUp + runs; ++i) {
    for (int k = 0; k < 2; ++k) {
      const double took = trays[k].PressAndDismiss();
      if (took < 0) {
        std::printf("menu latency: %s opened no menu\n", trays[k].Label().c_str());
        return 1;
      }
      if (i >= kWarmUp) ms[k].push_back(took);
    }
  }
  for (Tray& tray : trays) tray.Stop();

  const double oursMedian = Median(ms[0]);
  const double minimalMedian = Median(ms[1]);
  std::printf(
      "menu latency, left press to visible menu (one process each, %d alternating presses "
      "after %d warm-up):\n",
      runs, kWarmUp);
  for (int k = 0; k < 2; ++k)
    std::printf("  %-8s median %7.2f ms  min %7.2f  max %7.2f  first press after start %7.2f ms\n",
                trays[k].Label().c_str(), Median(ms[k]),
                *std::min_element(ms[k].begin(), ms[k].end()),
                *std::max_element(ms[k].begin(), ms[k].end()), first[k]);
  std::printf("  ratio vantrel/minimal: %.2f (target <= 1.5)\n", oursMedian / minimalMedian);
  return 0;
}
