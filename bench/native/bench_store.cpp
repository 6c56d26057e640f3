// Settings-file and launcher timings on this machine, reported as medians and
// as ratios against their floors. Run from scripts/bench.sh, never as a test.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "platform/form.h"
#include "platform/utf8.h"
#include "store/profile.h"
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
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

// The twenty title names after `size` bytes of hand-written sections.
std::string HandEdited(std::size_t size, const std::string& note) {
  std::string file = "; kept by hand\r\n";
  for (int section = 1; file.size() < size; ++section) {
    file += "[Notes " + std::to_string(section) + "]\r\n";
    for (int k = 1; k <= 40 && file.size() < size; ++k)
      file += "item" + std::to_string(k) + "=" + note + "\r\n";
  }
  file += "[Files]\r\n";
  for (int t = 1; t <= kTitleCount; ++t)
    file += "Desc" + std::to_string(t) + "=" + note.substr(0, 12) + std::to_string(t) + "\r\n";
  return file;
}

}  // namespace

int main() {
  FakePlatform p;
  SetUpDataFolder(p, p);
  TitleData data;
  Lines titles, entries;
  StartUpTitles(p, p.clock, data, titles, entries);  // a file of the first-run size
  const std::string firstRun = p.ReadFile(SettingsPath());

  // A save with one name changed: an Ok that changes nothing writes nothing.
  int saves = 0;
  const double save = MedianMs(
      51, [&] { p.WriteFile(SettingsPath(), firstRun); },
      [&] {
        titles[0] = "Renamed " + std::to_string(++saves);
        SaveTitles(p, p.clock, data, titles, entries);
      });
  p.clock.now += 5000;  // a press once the file has settled
  const double reads = MedianMs(
      201, [] {},
      [&] {
        SettingsFile file(p, p.clock, SettingsPath());
        for (int t = 1; t <= kTitleCount; ++t)
          (void)file.ReadValue(kFilesSection, TitleKey(t), kNoTitle);
      });

  // A title with 10 entries, launched through the fake shell, against the
  // floor of reading its 20 slots alone.
  {
    SettingsFile file(p, p.clock, SettingsPath());
    for (int i = 1; i <= kSlotCount; ++i) {
      const std::string path = "C:\\Docs\\file" + std::to_string(i) + ".txt";
      file.WriteValue(kFilesSection, EntryKey(7, i), path);
    }
    file.Release();
  }
  Launcher launcher(p, p.clock, p, p.shell);
  if (launcher.ReadTitleEntries("7")[9].target == kEmptySlot) {
    std::printf("the launch fixture was not saved\n");
    return 1;
  }
  p.MakeDirectory("C:\\Docs");
  for (int i = 1; i <= kSlotCount; ++i)
    p.WriteFile("C:\\Docs\\file" + std::to_string(i) + ".txt", "x");
  p.clock.now += 5000;
  const double launch = MedianMs(
      201, [&] { p.shellCalls.clear(); }, [&] { launcher.LaunchTitle("7"); });
  // The floor is what the launch reads: its 20 slots and the options of each entry.
  const double slotReads =
      MedianMs(201, [] {}, [&] { (void)launcher.ReadTitleEntries("7"); });

  std::printf(
      "native save of 20 names + 200 slots (one SettingsFile, released): median %.2f ms (target <= "
      "30 ms)\n",
      save);
  std::printf(
      "native 20 title reads (tray menu):                             median %.3f ms (target < 2 "
      "ms)\n",
      reads);
  std::printf("native launch of a 10-entry title (fake shell):                median %.3f ms\n",
              launch);
  std::printf("native 20 slots and their options read alone (floor):         median %.3f ms\n",
              slotReads);
  std::printf("launch / floor ratio: %.2f (target <= 2.0)\n", launch / slotReads);

  // 10 MB files of every kind: parsing one and reading the 20 title names,
  // against the floor of copying its bytes.
  const std::size_t big = std::size_t{10} << 20;
  std::string random(big, '\0');
  std::mt19937 rng(7);
  for (char& c : random) c = static_cast<char>(rng());
  std::string utf16be =
      Utf8ToUtf16Le(HandEdited(big / 2, "a note of some length, as people write them"));
  for (std::size_t i = 0; i + 1 < utf16be.size(); i += 2) std::swap(utf16be[i], utf16be[i + 1]);
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"structured", HandEdited(big, "a note of some length, as people write them")},
      {"random bytes", random},
      {"legacy", HandEdited(big, "a note of some length, caf\xE9 na\xEFve, r\xF4le")},
      {"UTF-16BE", "\xFE\xFF" + utf16be},
  };
  FakePlatform codePages;  // its legacy code page is Latin-1
  const PlatformCodePage latin1(codePages);
  for (const auto& file : files) {
    std::string copy;
    const double floor = MedianMs(
        21,
        [&] {
          copy.clear();
          copy.shrink_to_fit();
        },
        [&] { copy = file.bytes; });
    const double titleReads = MedianMs(
        21,
        [&] {
          copy.clear();
          copy.shrink_to_fit();
        },
        [&] {
          copy = file.bytes;
          ProfileDocument document(std::move(copy), &latin1);
          for (int t = 1; t <= kTitleCount; ++t)
            (void)document.Read(kFilesSection, TitleKey(t), kNoTitle);
        });
    std::printf(
        "native 10 MB %-12s copy and 20 title reads: median %6.2f ms, copy alone %5.2f ms, ratio "
        "%.2f\n",
        file.name, titleReads, floor, titleReads / floor);
  }
  return 0;
}
