// Settings-file and launcher timings on this machine, reported as medians and
// as ratios against their floors. Run from scripts/bench.sh, never as a test.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "platform/form.h"
#include "store/settings.h"
#include "store/titles.h"
#include "tray/launcher.h"

using namespace vantrel;

namespace {

double MedianMs(int runs, const std::function<void()>& setUp, const std::function<void()>& body) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    setUp();
    const auto start = std::chrono::steady_clock::now();
    body();
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

}  // namespace

int main() {
  FakePlatform p;
  SetUpDataFolder(p);
  TitleData data;
  Lines titles, entries;
  StartUpTitles(p, data, titles, entries);  // a file of the first-run size
  const std::string firstRun = p.ReadFile(SettingsPath());

  const double save = MedianMs(
      51, [&] { p.WriteFile(SettingsPath(), firstRun); },
      [&] { SaveTitles(p, data, titles, entries); });
  const double reads = MedianMs(
      201, [] {},
      [&] {
        SettingsFile file(p, SettingsPath());
        for (int t = 1; t <= kTitleCount; ++t) (void)file.ReadValue(kFilesSection, TitleKey(t), kNoTitle);
      });

  // A title with 10 entries, launched through the fake shell, against the
  // floor of reading its 20 slots alone.
  {
    SettingsFile file(p, SettingsPath());
    for (int i = 1; i <= kSlotCount; ++i) {
      const std::string path = "C:\\Docs\\file" + std::to_string(i) + ".txt";
      file.WriteValue(kFilesSection, EntryKey(7, i), path);
    }
  }
  p.MakeDirectory("C:\\Docs");
  for (int i = 1; i <= kSlotCount; ++i) p.WriteFile("C:\\Docs\\file" + std::to_string(i) + ".txt", "x");
  const double launch = MedianMs(201, [&] { p.shellCalls.clear(); }, [&] { LaunchTitle(p, "7"); });
  const double slotReads = MedianMs(201, [] {}, [&] {
    SettingsFile file(p, SettingsPath());
    for (int i = 1; i <= kLaunchSlots; ++i) (void)file.ReadValue(kFilesSection, EntryKey("7", i), kEmptySlot);
  });

  std::printf("native save of 20 names + 200 slots (one SettingsFile, released): median %.2f ms (target <= 30 ms)\n", save);
  std::printf("native 20 title reads (tray menu):                             median %.3f ms (target < 2 ms)\n", reads);
  std::printf("native launch of a 10-entry title (fake shell):                median %.3f ms\n", launch);
  std::printf("native 20 slot reads alone (floor):                            median %.3f ms\n", slotReads);
  std::printf("launch / floor ratio: %.2f (target <= 2.0)\n", launch / slotReads);
  return 0;
}
