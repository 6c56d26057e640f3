// Footprint of vantrel.exe against a minimal tray program of ours, in one run:
// the size of each file, the time from CreateProcess to the icon being held by
// the shell (median of several starts), private memory after start, and for
// vantrel.exe the memory and object counts before and after opening and
// closing every one of its windows many times through its menus and buttons.
//
// bench_footprint.exe <vantrel.exe> <minimal.exe> [--class <minimal's window class>]
//                     [--starts N] [--cycles N]
#include <windows.h>

#include "bench_common.h"
#include "../../tests/e2e/vantrel_ids.h"
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace {

using bench::FindWindowOf;
using bench::NowMs;
using bench::Tray;
using bench::WaitUntil;

std::string TextOf(HWND hwnd) {
  char text[256] = {};
  DWORD_PTR unused = 0;
  SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 3000, &unused);
  return text;
}

struct CountJob {
  DWORD pid;
  int count;
};

BOOL CALLBACK CountChild(HWND, LPARAM param) {
  ++reinterpret_cast<CountJob*>(param)->count;
  return TRUE;
}

BOOL CALLBACK CountTop(HWND hwnd, LPARAM param) {
  auto* job = reinterpret_cast<CountJob*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != job->pid) return TRUE;
  ++job->count;
  EnumChildWindows(hwnd, &CountChild, param);
  return TRUE;
}

// Every window of the process, hidden ones and children included.
int WindowCount(DWORD pid) {
  CountJob job{pid, 0};
  EnumWindows(&CountTop, reinterpret_cast<LPARAM>(&job));
  return job.count;
}

long long FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// GDI objects of another process where GetGuiResources is not implemented:
// Wine keeps each process's GDI handle table (65536 entries of 24 bytes: object
// 8, owner 4, unique 2, type 1, flags 1, user pointer 8) in the process's own
// memory. The table is the region whose entries for the stock objects, which
// every process makes in the same order, carry those handles' upper words; a
// live entry has a non-zero type.
int GdiTableCount(HANDLE process) {
  constexpr std::size_t kEntry = 24;
  constexpr std::size_t kTableSize = kEntry * 0x10000;
  const int stockKinds[] = {WHITE_BRUSH, BLACK_PEN, SYSTEM_FONT, DEFAULT_GUI_FONT};
  std::vector<unsigned char> table(kTableSize);
  MEMORY_BASIC_INFORMATION region{};
  for (char* at = nullptr; VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
       at = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
    const bool candidate = region.State == MEM_COMMIT && region.RegionSize >= kTableSize &&
                           (region.Protect & (PAGE_READWRITE | PAGE_READONLY)) != 0;
    SIZE_T got = 0;
    if (candidate &&
        ReadProcessMemory(process, region.BaseAddress, table.data(), kTableSize, &got) &&
        got == kTableSize) {
      bool matches = true;
      for (int kind : stockKinds) {
        const auto handle = reinterpret_cast<ULONG_PTR>(GetStockObject(kind));
        const unsigned char* entry = table.data() + LOWORD(handle) * kEntry;
        const unsigned unique = entry[12] | (entry[13] << 8);
        if (unique != HIWORD(handle) || entry[14] == 0) matches = false;
      }
      if (matches) {
        int live = 0;
        for (std::size_t e = 0; e < kTableSize; e += kEntry) live += table[e + 14] != 0 ? 1 : 0;
        return live;
      }
    }
    if (reinterpret_cast<ULONG_PTR>(region.BaseAddress) + region.RegionSize < 
        reinterpret_cast<ULONG_PTR>(region.BaseAddress))
      break;
  }
  return -1;
}

struct Counts {
  double privateKb = 0;
  int userObjects = 0;  // GetGuiResources; 0 where it is not implemented
  int gdiObjects = 0;
  int gdiTable = -1;    // from the GDI handle table, -1 when unreadable
  int windows = 0;
  long handles = -1;  // kernel handles, -1 where the count is not given
};

Counts Measure(HANDLE process, DWORD pid) {
  Counts c;
  c.privateKb = std::max(0.0, bench::PrivateKb(process));
  c.userObjects = static_cast<int>(GetGuiResources(process, GR_USEROBJECTS));
  c.gdiObjects = static_cast<int>(GetGuiResources(process, GR_GDIOBJECTS));
  c.gdiTable = GdiTableCount(process);
  c.windows = WindowCount(pid);
  DWORD handles = 0;
  if (GetProcessHandleCount(process, &handles) && handles > 0) c.handles = static_cast<long>(handles);
  return c;
}

// --- Driving vantrel.exe's windows ---------------------------------------------------------

namespace ui = e2e::ui;
using ui::kLeftEdit;
using ui::kRightHelp;
using ui::kRightSelectScreensaver;

class Driver {
 public:
  explicit Driver(const Tray& tray) : tray_(tray) {}

  bool failed() const { return !error_.empty(); }
  const std::string& error() const { return error_; }

  // Every window once: the editor with help, add-file, web page and rename
  // inside it, help from the right menu, the screensaver choice.
  bool Cycle() {
    HWND editor = MenuWindow(WM_LBUTTONDOWN, kLeftEdit, "TFrmedit");
    if (editor == nullptr) return false;
    Click(editor, ui::editor::BitBtn2);
    if (!CloseWith(Wait("TFrmhelp"), ui::help::BitBtn1, "editor help")) return false;
    Click(editor, ui::editor::Cmdany);
    HWND addFile = Wait("TFrmedadd");
    if (!CloseWith(addFile, ButtonTitled(addFile, "Cancel"), "add-file")) return false;
    if (!AnswerBox("add-file cancelled")) return false;
    Click(editor, ui::editor::BitBtn4);
    if (!CloseWith(Wait("TFrmwebpage"), ui::webpage::BitBtn3, "web page")) return false;
    if (!AnswerBox("web page cancelled")) return false;
    Click(editor, ui::editor::Button1);
    if (!CloseWith(Wait("TFrmtitlechg"), ui::titlechg::Button1, "rename")) return false;
    PostMessageA(editor, WM_CLOSE, 0, 0);
    if (!Gone(editor, "editor")) return false;

    HWND help = MenuWindow(WM_RBUTTONDOWN, kRightHelp, "TFrmhelp");
    if (help == nullptr || !CloseWith(help, ui::help::BitBtn1, "tray help")) return false;
    HWND choice = MenuWindow(WM_RBUTTONDOWN, kRightSelectScreensaver, "TFrmscrsel");
    if (choice == nullptr) return false;
    return CloseWith(choice, ButtonTitled(choice, "Cancel"), "screensaver choice");
  }

 private:
  bool Fail(const std::string& what) {
    error_ = what + "; " + bench::DescribeWindows(tray_.Pid());
    return false;
  }

  HWND Wait(const char* className) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowOf(tray_.Pid(), className, true)) != nullptr; }, 5000,
              2);
    if (found == nullptr) Fail(std::string(className) + " did not open");
    return found;
  }

  static void Click(HWND window, int id) {
    // Posted: a click that opens a modal window does not return until it closes.
    PostMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0);
  }

  static int ButtonTitled(HWND window, const char* caption) {
    if (window == nullptr) return 0;
    for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
      if (TextOf(c) == caption) return GetDlgCtrlID(c);
    return 0;
  }

  bool Gone(HWND window, const std::string& what) {
    if (WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, 5000, 2))
      return true;
    return Fail(what + " did not close");
  }

  bool CloseWith(HWND window, int button, const std::string& what) {
    if (window == nullptr || button == 0) return Fail(what + ": no window or button");
    Click(window, button);
    return Gone(window, what);
  }

  bool AnswerBox(const std::string& what) {
    HWND box = Wait("#32770");
    if (box == nullptr) return Fail(what + ": no message box");
    return CloseWith(box, IDOK, what);
  }

  // Keys posted while the menu is still setting up can be lost, and then
  // another item is chosen (a title, whose launch says "no programs" in a box).
  // The keys wait until the menu's own loop answers; an attempt that still
  // chose another item has its box answered and the menu dismissed, so that
  // nothing stays open beneath the next attempt, and is made again, and counted.
  HWND MenuWindow(LPARAM press, int item, const char* className) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      if (attempt > 0) ++retries_;
      PostMessageA(tray_.Main(), WM_USER + 10, 0, press);
      HWND menu = Wait("#32768");
      if (menu == nullptr) continue;
      DWORD_PTR unused = 0;
      SendMessageTimeoutA(menu, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &unused);
      for (int i = 0; i <= item; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
      PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
      HWND found = nullptr, box = nullptr;
      WaitUntil(
          [&] {
            found = FindWindowOf(tray_.Pid(), className, true);
            box = FindWindowOf(tray_.Pid(), "#32770", true);
            return found != nullptr || box != nullptr;
          },
          5000, 2);
      if (found != nullptr) {
        error_.clear();
        return found;
      }
      Fail(std::string(className) + " did not open");
      // A question (the first item asks two, one after the other) is answered
      // No, so that the program goes on as it was.
      for (int n = 0; box != nullptr && n < 3; ++n) {
        CloseWith(box, GetDlgItem(box, IDNO) != nullptr ? IDNO : IDOK,
                  "a box from another menu item");
        box = nullptr;
        WaitUntil([&] { return (box = FindWindowOf(tray_.Pid(), "#32770", true)) != nullptr; },
                  300, 2);
      }
      if (IsWindowVisible(menu)) PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
      WaitUntil([&] { return !IsWindowVisible(menu); }, 2000, 2);
    }
    return nullptr;
  }

 public:
  int retries() const { return retries_; }

 private:

  const Tray& tray_;
  std::string error_;
  int retries_ = 0;
};

double Median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void PrintCounts(const char* when, const Counts& c) {
  std::printf("  %-26s %9.0f KB  user %4d  gdi %4d  gdi table %5d  windows %4d  handles %4ld\n",
              when, c.privateKb, c.userObjects, c.gdiObjects, c.gdiTable, c.windows,
              c.handles);
}

}  // namespace

int main(int argc, char** argv) {
  std::string ours, minimal, minimalClass = "VantrelMinimalTray";
  int starts = 10, cycles = 100;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--class" && i + 1 < argc)
      minimalClass = argv[++i];
    else if (arg == "--starts" && i + 1 < argc)
      starts = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--cycles" && i + 1 < argc)
      cycles = std::max(1, std::atoi(argv[++i]));
    else if (ours.empty())
      ours = arg;
    else
      minimal = arg;
  }
  if (ours.empty() || minimal.empty()) {
    std::printf("usage: bench_footprint <vantrel.exe> <minimal.exe> [--class C] [--starts N] "
                "[--cycles N]\n");
    return 2;
  }
  char when[32] = {};
  const std::time_t now = std::time(nullptr);
  std::strftime(when, sizeof when, "%Y-%m-%d %H:%M", std::localtime(&now));
  std::printf("footprint, %s\n", when);

  const long long oursSize = FileSize(ours), minimalSize = FileSize(minimal);
  std::printf("exe size:           vantrel %7lld bytes (%.0f KB), minimal %7lld bytes, ratio %.2f"
              "   target <= 310 KB: %s\n",
              oursSize, static_cast<double>(oursSize) / 1024.0, minimalSize,
              static_cast<double>(oursSize) / static_cast<double>(minimalSize),
              oursSize > 0 && oursSize <= 310 * 1024 ? "met" : "MISSED");

  // Starts alternate, so that both programs meet the same conditions; the
  // first start of each (a first run, cold caches) is not counted.
  std::vector<double> oursMs, minimalMs, oursKb, minimalKb;
  for (int run = 0; run <= starts; ++run) {
    for (int which = 0; which < 2; ++which) {
      Tray tray(which == 0 ? "vantrel" : "minimal", "\"" + (which == 0 ? ours : minimal) + "\"",
                which == 0 ? "TForm1" : minimalClass);
      const double ms = tray.StartToIcon();
      if (ms < 0) {
        std::printf("%s did not show its icon\n", which == 0 ? "vantrel" : "minimal");
        return 1;
      }
      Sleep(300);  // what it does right after the icon is part of its start
      const Counts c = Measure(tray.Process(), tray.Pid());
      if (run > 0) {
        (which == 0 ? oursMs : minimalMs).push_back(ms);
        (which == 0 ? oursKb : minimalKb).push_back(c.privateKb);
      }
      tray.Stop();
    }
  }
  const double oursStart = Median(oursMs), minimalStart = Median(minimalMs);
  std::printf("start to icon:      vantrel %7.1f ms, minimal %7.1f ms, ratio %.2f   target <= 1.5: "
              "%s   (median of %d)\n",
              oursStart, minimalStart, oursStart / minimalStart,
              oursStart <= 1.5 * minimalStart ? "met" : "MISSED", starts);
  const double oursMem = Median(oursKb), minimalMem = Median(minimalKb);
  std::printf("private memory:     vantrel %7.0f KB, minimal %7.0f KB, ratio %.2f   target <= 1.5: "
              "%s\n",
              oursMem, minimalMem, oursMem / minimalMem,
              oursMem <= 1.5 * minimalMem ? "met" : "MISSED");

  // Every window of vantrel.exe opened and closed, `cycles` times. The
  // screensaver choice opens only when a screensaver is found: give it one.
  char windowsDir[MAX_PATH] = {};
  GetWindowsDirectoryA(windowsDir, MAX_PATH);
  const std::string screensaver = std::string(windowsDir) + "\\vt_bench.scr";
  CopyFileA(minimal.c_str(), screensaver.c_str(), FALSE);
  Tray tray("vantrel", "\"" + ours + "\"", "TForm1");
  if (tray.StartToIcon() < 0) {
    std::printf("vantrel did not show its icon\n");
    return 1;
  }
  Sleep(300);
  Driver driver(tray);
  const Counts atStart = Measure(tray.Process(), tray.Pid());
  if (!driver.Cycle()) {
    std::printf("window cycle failed: %s\n", driver.error().c_str());
    return 1;
  }
  Sleep(200);
  const Counts afterOne = Measure(tray.Process(), tray.Pid());
  const double cyclesStart = NowMs();
  for (int i = 1; i < cycles; ++i)
    if (!driver.Cycle()) {
      std::printf("window cycle %d failed (after %d menu retries): %s\n", i + 1,
                  driver.retries(), driver.error().c_str());
      return 1;
    }
  const double perCycle = (NowMs() - cyclesStart) / std::max(1, cycles - 1);
  Sleep(200);
  const Counts afterAll = Measure(tray.Process(), tray.Pid());
  std::printf("window cycles:      %d, %.0f ms each (editor with help, add-file, web page and "
              "rename; help; screensaver choice), %d menu retries\n",
              cycles, perCycle, driver.retries());
  PrintCounts("after start", atStart);
  PrintCounts("after 1 cycle", afterOne);
  PrintCounts(("after " + std::to_string(cycles) + " cycles").c_str(), afterAll);
  const bool guiResources = atStart.userObjects > 0 || atStart.gdiObjects > 0;
  if (!guiResources)
    std::printf("  GetGuiResources gives 0 here (not implemented); GDI objects are counted from "
                "the process's GDI handle table, USER objects by its windows\n");
  const int gdiBefore = guiResources ? afterOne.gdiObjects : afterOne.gdiTable;
  const int gdiAfter = guiResources ? afterAll.gdiObjects : afterAll.gdiTable;
  const int userBefore = guiResources ? afterOne.userObjects : afterOne.windows;
  const int userAfter = guiResources ? afterAll.userObjects : afterAll.windows;
  // Flat: no growth that scales with the cycles (a leak of one object per
  // cycle would add cycles - 1).
  const bool flat = gdiAfter - gdiBefore < cycles / 4 && userAfter - userBefore < cycles / 4 &&
                    afterAll.handles - afterOne.handles < cycles / 4;
  std::printf("objects across cycles: gdi %d -> %d, user %d -> %d, handles %ld -> %ld, memory "
              "%.0f -> %.0f KB   target flat: %s\n",
              gdiBefore, gdiAfter, userBefore, userAfter,
              afterOne.handles, afterAll.handles, afterOne.privateKb,
              afterAll.privateKb, flat ? "met" : "MISSED");
  tray.Stop();
  return 0;
}
