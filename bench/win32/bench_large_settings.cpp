// Large settings files under Wine: how long vantrel.exe takes from its start
// to its first left-press menu, from a later press to its menu, and its private
// memory once the menu has closed, with settings files of 1 KB, 1 MB and 10 MB
// (hand-edited sections before the titles), 1 MB of NUL bytes, 10 MB of random
// bytes (not UTF-8; also after a UTF-8 and a UTF-16 BOM), 10 MB in the legacy
// code page (cp1252 letters in names and values) and 10 MB of UTF-16LE, side by
// side in one run. Each file gets a fresh start of the program; the later
// presses follow two warm-up ones, while the file is still fresh (written in
// the last 3 s, so read at each press), then, once it has settled, one press
// that reads it a last time and the settled presses. Then one more start:
// presses while another process (this one) holds the file open without sharing.
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
#include <random>
#include <string>
#include <vector>

namespace {

using bench::Median;
using bench::Tray;

constexpr int kWarmUp = 2;
constexpr std::size_t kMB = 1 << 20;

// What the hand-kept sections and the titles say.
struct Wording {
  const char* title;  // followed by the title's number
  const char* key;    // followed by the note's number
  const char* note;
};
constexpr Wording kEnglish{"Title ", "item", "a note of some length, as people write them"};
// cp1252 bytes: not UTF-8, so the file is in the legacy code page.
constexpr Wording kCp1252{"R\xE9sum\xE9 ", "\xE9l\xE9ment",
                          "une note \351crite \340 la main, d'une longueur \340 l'avenant"};
// UTF-8, to be written as UTF-16.
constexpr Wording kCyrillic{"\xD0\x97\xD0\xB0\xD0\xBC\xD0\xB5\xD1\x82\xD0\xBA\xD0\xB0 ", "item",
                            "a note of some length, \xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5"
                            "\xD1\x80, as people write them"};

// The twenty title names, after `filler` bytes of other sections.
std::string HandEdited(std::size_t size, const Wording& words = kEnglish) {
  std::string titles = "[Files]\r\n";
  for (int t = 1; t <= 20; ++t)
    titles += "Desc" + std::to_string(t) + "=" + words.title + std::to_string(t) + "\r\n";
  std::string file = "; kept by hand\r\n";
  for (int section = 1; file.size() + titles.size() < size; ++section) {
    file += "[Notes " + std::to_string(section) + "]\r\n";
    for (int k = 1; k <= 40 && file.size() + titles.size() < size; ++k)
      file += words.key + std::to_string(k) + "=" + words.note + "\r\n";
  }
  file.resize(std::max(file.size(), size - std::min(size, titles.size())), ';');
  return file + titles;
}

std::string RandomBytes(std::size_t size) {
  std::mt19937 random(18);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
  return bytes;
}

// As Notepad saves it: a byte-order mark, then UTF-16LE.
std::string Utf16(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                          static_cast<int>(wide.size()))));
  std::string bytes = "\xFF\xFE";
  for (wchar_t c : wide) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>((c >> 8) & 0xFF);
  }
  return bytes;
}

struct Figures {
  const char* label;
  std::string contents;
  double firstMenu = -1;
  std::vector<double> presses;
  double firstSettled = -1;  // the press that reads the settled file
  std::vector<double> settled;
  double memoryKb = -1;
};

// Why a start gave no first menu: it made no window, or its window showed none.
std::string NoMenuReason(const Tray& tray) {
  if (tray.Main() == nullptr) return "it made no window in 15 s";
  return "no menu in 60 s; " + bench::DescribeWindows(tray.Pid());
}

const char* Verdict(bool met) { return met ? "met" : "MISSED"; }

// Presses to the menu, `count` of them; false when one brought none.
bool Presses(Tray& tray, int count, std::vector<double>& into, const char* label) {
  for (int i = 0; i < count; ++i) {
    const double took = tray.PressAndDismiss();
    if (took < 0) {
      std::printf("large settings: no menu for a press with the %s file: %s\n", label,
                  bench::DescribeWindows(tray.Pid()).c_str());
      return false;
    }
    into.push_back(took);
  }
  return true;
}

// One file: a fresh start, its presses while fresh and once settled, and the
// memory once the menu has closed.
bool Measure(const std::string& ours, const std::string& path, int runs, Figures& f) {
  if (!bench::WriteWhole(path, f.contents)) {
    std::printf("large settings: cannot write %s\n", path.c_str());
    return false;
  }
  const double written = bench::NowMs();
  Tray tray("vantrel", "\"" + ours + "\"", "TForm1");
  f.firstMenu = tray.StartToFirstMenu();
  if (f.firstMenu < 0) {
    std::printf("large settings: no first menu with the %s file: %s\n", f.label,
                NoMenuReason(tray).c_str());
    return false;
  }
  std::vector<double> warmUp, first;
  if (!Presses(tray, kWarmUp, warmUp, f.label) || !Presses(tray, runs, f.presses, f.label))
    return false;
  // Settled: written more than 3 s before, by the system's clock and the file's.
  const double wait = 4000 - (bench::NowMs() - written);
  if (wait > 0) Sleep(static_cast<DWORD>(wait));
  if (!Presses(tray, 1, first, f.label) || !Presses(tray, runs, f.settled, f.label)) return false;
  f.firstSettled = first[0];
  Sleep(200);  // what the program frees after the menu has closed
  f.memoryKb = bench::PrivateKb(tray.Process());
  tray.Stop();
  f.contents.clear();
  return true;
}

// Presses while another program holds the file open without sharing (a
// backup or sync tool, a virus scanner), after warm-up presses with it free.
bool MeasureHeld(const std::string& ours, const std::string& path, int runs,
                 std::vector<double>& held) {
  if (!bench::WriteWhole(path, HandEdited(1 << 10))) {
    std::printf("large settings: cannot write %s\n", path.c_str());
    return false;
  }
  Tray tray("vantrel", "\"" + ours + "\"", "TForm1");
  if (!tray.Start()) {
    std::printf("large settings: vantrel did not start\n");
    return false;
  }
  for (int i = 0; i < kWarmUp; ++i) tray.PressAndDismiss();
  HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (holder == INVALID_HANDLE_VALUE) {
    std::printf("large settings: cannot hold %s\n", path.c_str());
    return false;
  }
  const bool pressed = Presses(tray, runs, held, "held");
  CloseHandle(holder);
  tray.Stop();
  return pressed;
}

void Report(const std::vector<Figures>& figures, const std::vector<double>& held, int runs) {
  std::printf(
      "large settings files, vantrel.exe (a fresh start per file, %d later presses after "
      "%d warm-up while the file is fresh, then %d once it has settled after the one that reads "
      "it; memory once the menu has closed):\n",
      runs, kWarmUp, runs);
  std::printf("  %-13s %14s %18s %14s %18s %8s %13s %7s\n", "file", "first menu",
              "fresh press, med", "max", "settled, med (max)", "reading", "memory after", "x 1 KB");
  const double smallKb = figures.front().memoryKb;
  bool pressesMet = true;
  for (const Figures& f : figures) {
    const auto max = [](const std::vector<double>& v) {
      return *std::max_element(v.begin(), v.end());
    };
    std::printf(
        "  %-13s %11.1f ms %15.2f ms %11.2f ms %10.2f (%5.2f) ms %5.1f ms %10.0f KB %7.2f\n",
        f.label, f.firstMenu, Median(f.presses), max(f.presses), Median(f.settled), max(f.settled),
        f.firstSettled, f.memoryKb, f.memoryKb / smallKb);
    if (std::string(f.label).rfind("10 MB", 0) == 0 && Median(f.settled) > 50) pressesMet = false;
  }
  const Figures& large = figures[2];
  std::printf(
      "  targets with 10 MB: first menu <= 1000 ms: %s; a settled press <= 50 ms with "
      "every 10 MB file: %s\n",
      Verdict(large.firstMenu <= 1000), Verdict(pressesMet));
  std::printf(
      "memory once the menu has closed, 10 MB file against 1 KB: %.0f KB / %.0f KB, "
      "ratio %.2f   target <= 1.05: %s\n",
      large.memoryKb, smallKb, large.memoryKb / smallKb, Verdict(large.memoryKb <= 1.05 * smallKb));
  std::printf(
      "a press with the file held open without sharing by another process: median "
      "%.1f ms, max %.1f ms (%d presses; the same file free: %.2f ms)   target: each "
      "<= 100 ms: %s\n",
      Median(held), *std::max_element(held.begin(), held.end()), runs,
      Median(figures.front().settled), Verdict(*std::max_element(held.begin(), held.end()) <= 100));
}

}  // namespace

int main(int argc, char** argv) {
  const bench::Arguments args = bench::ReadArguments(argc, argv, 10);
  if (args.ours.empty()) {
    std::printf(
        "usage: bench_large_settings <vantrel.exe> [<bench_tray_minimal.exe>] [--runs N]\n");
    return 2;
  }
  char appData[MAX_PATH + 1] = {};
  SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, FALSE);
  const std::string folder = std::string(appData) + "\\Vantrel";
  const std::string path = folder + "\\vantrel.ini";
  CreateDirectoryA(folder.c_str(), nullptr);

  std::vector<Figures> figures;
  figures.push_back({"1 KB", HandEdited(1 << 10)});
  figures.push_back({"1 MB", HandEdited(kMB)});
  figures.push_back({"10 MB", HandEdited(10 * kMB)});
  figures.push_back({"1 MB NUL", std::string(kMB, '\0')});
  figures.push_back({"10 MB random", RandomBytes(10 * kMB)});
  figures.push_back({"10 MB rnd+BOM8", "\xEF\xBB\xBF" + RandomBytes(10 * kMB)});
  figures.push_back({"10 MB rnd+BOM16", "\xFF\xFE" + RandomBytes(10 * kMB)});
  figures.push_back({"10 MB cp1252", HandEdited(10 * kMB, kCp1252)});
  figures.push_back({"10 MB UTF-16", Utf16(HandEdited(5 * kMB, kCyrillic))});
  for (Figures& f : figures)
    if (!Measure(args.ours, path, args.runs, f)) return 1;
  std::vector<double> held;
  if (!MeasureHeld(args.ours, path, args.runs, held)) return 1;
  DeleteFileA(path.c_str());
  Report(figures, held, args.runs);
  return 0;
}
