// The settings file under Wine: the editor's save (20 names and 200 slots
// through one SettingsFile, then its release) and the tray menu's 20 reads, by
// our own profile code and by the system's profile functions, in one run.
#include <windows.h>

#include <shlobj.h>

#include "bench_common.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/clock.h"
#include "platform/win32/files.h"
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

std::string TitleName(int t) { return kNoTitle + (" " + std::to_string(t)); }

}  // namespace

int main() {
  win32::Win32Files files;
  win32::SystemClock clock;
  char appData[MAX_PATH + 1] = {};
  SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, FALSE);
  const std::string folder = std::string(appData) + "\\Vantrel";
  const std::string path = folder + "\\vantrel.ini";
  CreateDirectoryA(folder.c_str(), nullptr);
  // The file of a first run: 20 placeholder names, every slot empty. The saves
  // write every value, the names changed, as an Ok after renaming every title
  // does (an Ok that changes nothing writes nothing).
  std::string firstRun = "[Files]\r\n";
  for (int t = 1; t <= kTitleCount; ++t) {
    firstRun += TitleKey(t) + "=" + TitleName(t) + " before\r\n";
    for (int i = 1; i <= kSlotCount; ++i) firstRun += EntryKey(t, i) + "=" + kEmptySlot + "\r\n";
  }
  auto reset = [&] {
    if (!bench::WriteWhole(path, firstRun)) std::printf("profile: cannot write %s\n", path.c_str());
  };

  const double oursSave = MedianMs(21, reset, [&] {
    SettingsFile file(files, clock, path);
    for (int t = 1; t <= kTitleCount; ++t)
      file.WriteValue(kFilesSection, TitleKey(t), TitleName(t));
    for (int t = 1; t <= kTitleCount; ++t)
      for (int i = 1; i <= kSlotCount; ++i)
        file.WriteValue(kFilesSection, EntryKey(t, i), kEmptySlot);
    file.Release();
  });
  const double systemSave = MedianMs(21, reset, [&] {
    for (int t = 1; t <= kTitleCount; ++t)
      WritePrivateProfileStringA(kFilesSection, TitleKey(t).c_str(), TitleName(t).c_str(),
                                 path.c_str());
    for (int t = 1; t <= kTitleCount; ++t)
      for (int i = 1; i <= kSlotCount; ++i)
        WritePrivateProfileStringA(kFilesSection, EntryKey(t, i).c_str(), kEmptySlot, path.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());  // flush
  });
  reset();
  const double oursReads = MedianMs(
      201, [] {},
      [&] {
        SettingsFile file(files, clock, path);
        for (int t = 1; t <= kTitleCount; ++t)
          (void)file.ReadValue(kFilesSection, TitleKey(t), kNoTitle);
      });
  const double systemReads = MedianMs(
      201, [] {},
      [&] {
        char buffer[2048];
        for (int t = 1; t <= kTitleCount; ++t)
          GetPrivateProfileStringA(kFilesSection, TitleKey(t).c_str(), kNoTitle, buffer,
                                   sizeof buffer, path.c_str());
      });

  std::printf("wine save, ours (220 writes through one SettingsFile):     median %8.2f ms\n",
              oursSave);
  std::printf("wine save, WritePrivateProfileStringA x220 + flush:    median %8.2f ms\n",
              systemSave);
  std::printf("wine save ratio ours/system: %.2f (target <= 1.0)\n", oursSave / systemSave);
  std::printf("wine 20 reads, ours:                    median %6.3f ms (target < 2 ms)\n",
              oursReads);
  std::printf("wine 20 reads, GetPrivateProfileStringA: median %6.3f ms\n", systemReads);
  std::printf("wine reads ratio ours/system: %.2f\n", oursReads / systemReads);
  return 0;
}
