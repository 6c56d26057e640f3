// A title opened as a workspace under Wine: from each window's first
// appearance to its placement (20 windows: a 10-entry title opened twice), and
// the left press to its menu while such a title is being placed against the
// same press idle, in one run of vantrel.exe. The windows are this program's
// own, started with --probe: each shows 300 ms after its start and logs, by
// the performance counter that every process shares, when it showed and when
// it first stood at its place.
//
// bench_workspace.exe <vantrel.exe> [<bench_tray_minimal.exe>] [--runs N]
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <shlobj.h>
#include <windows.h>

#include "bench_common.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kEntries = 10;
constexpr char kProbeClass[] = "VantrelBenchProbe";

struct Probe {
  std::string log;
  RECT place{};
  bool placed = false;
};
Probe g_probe;

void Log(const char* what) {
  char line[64];
  std::snprintf(line, sizeof line, "%s %.3f\n", what, bench::NowMs());
  HANDLE file = CreateFileA(g_probe.log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
  CloseHandle(file);
}

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    KillTimer(hwnd, 1);
    Log("shown");
    ShowWindow(hwnd, SW_SHOWNORMAL);
    return 0;
  }
  if (message == WM_WINDOWPOSCHANGED && !g_probe.placed && IsWindowVisible(hwnd)) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    if (EqualRect(&r, &g_probe.place)) {
      g_probe.placed = true;
      Log("placed");
    }
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// bench_workspace.exe --probe <log> <left> <top> <right> <bottom>
int RunProbe(char** argv) {
  g_probe.log = argv[2];
  g_probe.place = {std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6])};
  WNDCLASSA wc{};
  wc.lpfnWndProc = &ProbeProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kProbeClass;
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, kProbeClass, "probe", WS_OVERLAPPEDWINDOW, 10, 10, 200, 150,
                                nullptr, nullptr, wc.hInstance, nullptr);
  SetTimer(window, 1, 300, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}

std::string PlaceText(const RECT& r) {
  MONITORINFOEXA info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
  const RECT& m = info.rcMonitor;
  char text[256];
  std::snprintf(text, sizeof text, "normal,%ld,%ld,%ld,%ld,96,%ld,%ld,%ld,%ld,%s", r.left, r.top,
                r.right - r.left, r.bottom - r.top, m.left, m.top, m.right - m.left,
                m.bottom - m.top, info.szDevice);
  return text;
}

// Title 1: ten copies of this program, each waited for, each with a place.
// Title 2, to compare: the same started 1 s apart, with no window looked for.
std::vector<Probe> WriteTitle(const std::string& self, const std::string& folder) {
  std::vector<Probe> probes(kEntries);
  std::string ini = "[Files]\r\nDesc1=Bench\r\n";
  std::string paced;
  for (int i = 0; i < kEntries; ++i) {
    Probe& p = probes[static_cast<std::size_t>(i)];
    const std::string exe = folder + "\\probe_" + std::to_string(i) + ".exe";
    CopyFileA(self.c_str(), exe.c_str(), FALSE);
    p.log = folder + "\\probe_" + std::to_string(i) + ".log";
    p.place = {100 + 20 * i, 80 + 15 * i, 500 + 20 * i, 380 + 15 * i};
    const std::string key = "Set11" + std::to_string(i + 1);
    char args[512];
    std::snprintf(args, sizeof args, "--probe \"%s\" %ld %ld %ld %ld", p.log.c_str(), p.place.left,
                  p.place.top, p.place.right, p.place.bottom);
    ini += key + "=" + exe + "\r\n" + key + "Args=" + args + "\r\n" + key +
           "Place=" + PlaceText(p.place) + "\r\n" + key + "WaitWindow=1\r\n";
    const std::string other = "Set22" + std::to_string(i + 1);
    paced += other + "=" + exe + "\r\n" + other + "Args=" + args + "\r\n" + other + "Wait=1\r\n";
  }
  ini += paced;
  char appData[MAX_PATH + 1] = {};
  SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, FALSE);
  const std::string settings = std::string(appData) + "\\Vantrel";
  CreateDirectoryA(settings.c_str(), nullptr);
  bench::WriteWhole(settings + "\\vantrel.ini", ini);
  return probes;
}

// The milliseconds a probe's log holds for "shown" and "placed"; -1 for one missing.
std::pair<double, double> Times(const Probe& p) {
  std::pair<double, double> t{-1, -1};
  FILE* file = std::fopen(p.log.c_str(), "r");
  if (file == nullptr) return t;
  char what[16];
  double at = 0;
  while (std::fscanf(file, "%15s %lf", what, &at) == 2)
    (std::strcmp(what, "shown") == 0 ? t.first : t.second) = at;
  std::fclose(file);
  return t;
}

bool AllPlaced(const std::vector<Probe>& probes) {
  for (const Probe& p : probes)
    if (Times(p).second < 0) return false;
  return true;
}

// Opens title 1 or 2 from the left menu, by the keyboard as a user would.
bool OpenTitle(bench::Tray& tray, int title) {
  PostMessageA(tray.Main(), bench::kTrayCallback, 0, WM_LBUTTONDOWN);
  HWND menu = nullptr;
  if (!bench::WaitUntil([&] { return (menu = bench::FindWindowOf(tray.Pid(), "#32768", true)); },
                        5000, 1))
    return false;
  for (int i = 0; i < 21 - title; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  return bench::WaitUntil([&] { return !IsWindowVisible(menu); }, 5000, 1);
}

void CloseProbes() {
  for (HWND w; (w = FindWindowA(kProbeClass, nullptr)) != nullptr;) {
    PostMessageA(w, WM_CLOSE, 0, 0);
    bench::WaitUntil([&] { return !IsWindow(w); }, 5000, 5);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 7 && std::string(argv[1]) == "--probe") return RunProbe(argv);
  const bench::Arguments args = bench::ReadArguments(argc, argv, 15);
  if (args.ours.empty()) {
    std::printf("usage: bench_workspace <vantrel.exe> [<bench_tray_minimal.exe>] [--runs N]\n");
    return 2;
  }
  char self[MAX_PATH + 1] = {}, temp[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "vantrel-bench-workspace";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::vector<Probe> probes = WriteTitle(self, folder);
  bench::Tray tray("vantrel", "\"" + args.ours + "\"", "TForm1");
  if (!tray.Start()) {
    std::printf("workspace: vantrel did not start\n");
    return 1;
  }
  std::vector<double> idle, busy, paced, placing;
  for (int i = 0; i < 3 + args.runs; ++i)
    if (const double took = tray.PressAndDismiss(); i >= 3) idle.push_back(took);
  for (int round = 0; round < 2; ++round) {
    for (const Probe& p : probes) DeleteFileA(p.log.c_str());
    if (!OpenTitle(tray, 1)) {
      std::printf("workspace: the title did not open\n");
      return 1;
    }
    // The first round's presses land while its windows are found and placed.
    const double start = bench::NowMs();
    while (!AllPlaced(probes) && bench::NowMs() - start < 60000) {
      if (round == 0) busy.push_back(tray.PressAndDismiss());
      Sleep(round == 0 ? 30 : 100);
    }
    for (const Probe& p : probes) {
      const auto [shown, placed] = Times(p);
      if (shown >= 0 && placed >= shown)
        placing.push_back(placed - shown);
      else
        std::printf("workspace: round %d, %s: shown at %.1f, not at its place\n", round + 1,
                    p.log.c_str(), shown);
    }
    // Closed only once the opening has checked its last window: one closed
    // before would be looked for again, and a title still opening opens no more.
    Sleep(500);
    CloseProbes();
    Sleep(500);
  }
  // The same starts, paced over as long, without a window to find or place.
  if (!OpenTitle(tray, 2)) return 1;
  for (const double start = bench::NowMs(); bench::NowMs() - start < 10000; Sleep(30))
    paced.push_back(tray.PressAndDismiss());
  CloseProbes();
  tray.Stop();
  if (placing.size() != 2 * kEntries || busy.empty()) {
    std::printf("workspace: %zu of %d windows placed\n", placing.size(), 2 * kEntries);
    return 1;
  }
  std::printf("workspace, a 10-entry title with places, each entry waiting for its window:\n");
  std::printf(
      "  first appearance to placement (20 windows): median %.1f ms, max %.1f ms "
      "(target median <= 100)\n",
      bench::Median(placing), *std::max_element(placing.begin(), placing.end()));
  std::printf(
      "  press to menu while placing: median %.2f ms (%zu presses), idle %.2f ms; "
      "ratio %.2f (target <= 1.2)\n",
      bench::Median(busy), busy.size(), bench::Median(idle),
      bench::Median(busy) / bench::Median(idle));
  std::printf(
      "  press to menu while the same programs start 1 s apart, no window looked for: "
      "median %.2f ms (%zu presses)\n",
      bench::Median(paced), paced.size());
  return 0;
}
