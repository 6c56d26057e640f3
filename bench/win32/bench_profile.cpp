// The settings file under Wine: the editor's save (20 names and 200 slots
// through one SettingsFile, then its release) and the tray menu's 20 reads, by
// our own profile code and by the system's profile functions, in one run.
#include <windows.h>

#include "bench_common.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/win32/win32_platform.h"
#include "store/file_replace.h"
#include "store/settings.h"
#include "store/titles.h"

using namespace vantrel;

namespace {

using bench::NowMs;

double MedianMs(int runs, const std::function<void()>& setUp, const std::function<void()>& body) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    setUp();
    const double start = NowMs();
    body();
    ms.push_back(NowMs() - start);
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

}  // namespace

int main() {
  win32::Win32Platform platform(GetModuleHandleA(nullptr));
  SetUpDataFolder(platform);
  const std::string path = SettingsPath();
  DeleteFileA(path.c_str());
  TitleData data;
  Lines titles, entries;
  StartUpTitles(platform, data, titles, entries);  // the first-run file
  std::string firstRun;
  platform.ReadWholeFile(path, firstRun);
  auto reset = [&] { ReplaceWholeFile(platform, path, firstRun); };

  const double oursSave = MedianMs(21, reset, [&] { SaveTitles(platform, data, titles, entries); });
  const double systemSave = MedianMs(21, reset, [&] {
    for (int t = 1; t <= kTitleCount; ++t)
      WritePrivateProfileStringA(kFilesSection, TitleKey(t).c_str(),
                                 titles[static_cast<std::size_t>(t - 1)].c_str(), path.c_str());
    for (int t = 1; t <= kTitleCount; ++t)
      for (int i = 1; i <= kSlotCount; ++i)
        WritePrivateProfileStringA(kFilesSection, EntryKey(t, i).c_str(),
                                   data.TitleTable[static_cast<std::size_t>(t - 1)][static_cast<std::size_t>(i - 1)].c_str(),
                                   path.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());  // flush
  });
  reset();
  const double oursReads = MedianMs(201, [] {}, [&] {
    SettingsFile file(platform, path);
    for (int t = 1; t <= kTitleCount; ++t) (void)file.ReadValue(kFilesSection, TitleKey(t), kNoTitle);
  });
  const double systemReads = MedianMs(201, [] {}, [&] {
    char buffer[2048];
    for (int t = 1; t <= kTitleCount; ++t)
      GetPrivateProfileStringA(kFilesSection, TitleKey(t).c_str(), kNoTitle, buffer, sizeof buffer, path.c_str());
  });

  std::printf("wine save, ours (220 writes through one SettingsFile):     median %8.2f ms\n", oursSave);
  std::printf("wine save, WritePrivateProfileStringA x220 + flush:    median %8.2f ms\n", systemSave);
  std::printf("wine save ratio ours/system: %.2f (target <= 1.0)\n", oursSave / systemSave);
  std::printf("wine 20 reads, ours:                    median %6.3f ms (target < 2 ms)\n", oursReads);
  std::printf("wine 20 reads, GetPrivateProfileStringA: median %6.3f ms\n", systemReads);
  std::printf("wine reads ratio ours/system: %.2f\n", oursReads / systemReads);
  return 0;
}
