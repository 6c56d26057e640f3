// Large settings files under Wine: how long vantrel.exe takes from its start
// to its first left-press menu, and from a later press to its menu, with a
// settings file of 1 KB, 1 MB and 10 MB (hand-edited sections before the
// titles) and one of 1 MB of NUL bytes, side by side in one run. Each file
// gets a fresh start of the program; the later presses follow two warm-up ones.
//
// bench_large_settings.exe <vantrel.exe> [<bench_tray_minimal.exe>] [--runs N]
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <shlobj.h>

#include "bench_common.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using bench::Median;
using bench::Tray;

constexpr int kWarmUp = 2;

// The twenty title names, after `filler` bytes of other sections.
std::string HandEdited(std::size_t size) {
  std::string titles = "[Files]\r\n";
  for (int t = 1; t <= 20; ++t)
    titles += "Desc" + std::to_string(t) + "=Title " + std::to_string(t) + "\r\n";
  std::string file = "; kept by hand\r\n";
  for (int section = 1; file.size() + titles.size() < size; ++section) {
    file += "[Notes " + std::to_string(section) + "]\r\n";
    for (int k = 1; k <= 40 && file.size() + titles.size() < size; ++k)
      file += "item" + std::to_string(k) + "=a note of some length, as people write them\r\n";
  }
  file.resize(std::max(file.size(), size - std::min(size, titles.size())), ';');
  return file + titles;
}

bool WriteWhole(const std::string& path, const std::string& contents) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok =
      WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == contents.size();
}

struct Figures {
  const char* label;
  double firstMenu = -1;
  std::vector<double> presses;
};

}  // namespace

int main(int argc, char** argv) {
  const bench::Arguments args = bench::ReadArguments(argc, argv, 10);
  const std::string& ours = args.ours;
  const int runs = args.runs;
  if (ours.empty()) {
    std::printf(
        "usage: bench_large_settings <vantrel.exe> [<bench_tray_minimal.exe>] [--runs N]\n");
    return 2;
  }
  char appData[MAX_PATH + 1] = {};
  SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, FALSE);
  const std::string folder = std::string(appData) + "\\Vantrel";
  const std::string path = folder + "\\vantrel.ini";
  CreateDirectoryA(folder.c_str(), nullptr);

  std::vector<Figures> figures = {{"1 KB"}, {"1 MB"}, {"10 MB"}, {"1 MB NUL"}};
  const std::vector<std::string> files = {HandEdited(1 << 10), HandEdited(1 << 20),
                                          HandEdited(10 << 20), std::string(1 << 20, '\0')};
  for (std::size_t k = 0; k < figures.size(); ++k) {
    if (!WriteWhole(path, files[k])) {
      std::printf("large settings: cannot write %s\n", path.c_str());
      return 1;
    }
    Tray tray("vantrel", "\"" + ours + "\"", "TForm1");
    figures[k].firstMenu = tray.StartToFirstMenu();
    if (figures[k].firstMenu < 0) {
      std::printf("large settings: no first menu with the %s file\n", figures[k].label);
      return 1;
    }
    for (int i = 0; i < kWarmUp + runs; ++i) {
      const double took = tray.PressAndDismiss();
      if (took < 0) {
        std::printf("large settings: no menu for a press with the %s file\n", figures[k].label);
        return 1;
      }
      if (i >= kWarmUp) figures[k].presses.push_back(took);
    }
    tray.Stop();
  }
  DeleteFileA(path.c_str());

  std::printf(
      "large settings files, vantrel.exe (a fresh start per file, %d later presses after "
      "%d warm-up):\n",
      runs, kWarmUp);
  std::printf("  %-9s %22s %24s %9s %9s\n", "file", "start to first menu", "later press, median",
              "min", "max");
  for (const Figures& f : figures)
    std::printf("  %-9s %19.1f ms %21.2f ms %9.2f %9.2f\n", f.label, f.firstMenu, Median(f.presses),
                *std::min_element(f.presses.begin(), f.presses.end()),
                *std::max_element(f.presses.begin(), f.presses.end()));
  std::printf("  targets with 10 MB: first menu <= 1000 ms, later press <= 100 ms\n");
  return 0;
}
