// A small program for the entry options and workspace cases: it appends one
// line "<command line>|<current folder>" to the file named by
// VANTREL_PROBE_LOG (or to entry_probe.log beside itself), with
// "|<start in ms of the system's tick count>" after it when given --time
// (and a line "shown|<ms>" once a window shown late shows), then shows a window of class
// "VantrelProbe" until it is closed, so that a case can find it running. Flags: --title=<its
// window's caption>,
// --at=<left>,<top>,<width>,<height> (its window's first place),
// --show-after=<ms> (its window appears that late, as a splash screen's
// program's does), --refuse-close (WM_CLOSE does nothing, as a program asking
// to save would).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "start_log.h"

namespace {

constexpr UINT_PTR kShowTimer = 1;
bool g_refuseClose = false;

bool HasFlag(const char* name);

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kShowTimer) {
    KillTimer(hwnd, kShowTimer);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    if (HasFlag("time"))
      e2e::AppendStartLine(e2e::StartLogPath("VANTREL_PROBE_LOG", "entry_probe.log"),
                           "shown|" + std::to_string(GetTickCount64()) + "\r\n");
    return 0;
  }
  if (message == WM_CLOSE && g_refuseClose) return 0;
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The value of "--name=value" in the command line, or "".
std::string Flag(const char* name) {
  const std::string line = GetCommandLineA();
  const std::string key = std::string(" --") + name + "=";
  const std::size_t at = line.find(key);
  if (at == std::string::npos) return "";
  const std::size_t from = at + key.size();
  return line.substr(from, line.find(' ', from) - from);
}

bool HasFlag(const char* name) {
  const std::string line = std::string(GetCommandLineA()) + " ";
  return line.find(std::string(" --") + name + " ") != std::string::npos;
}

void Record() {
  char folder[MAX_PATH + 1] = {};
  GetCurrentDirectoryA(sizeof folder, folder);
  std::string line = std::string(GetCommandLineA()) + "|" + folder;
  if (HasFlag("time")) line += "|" + std::to_string(GetTickCount64());
  e2e::AppendStartLine(e2e::StartLogPath("VANTREL_PROBE_LOG", "entry_probe.log"), line + "\r\n");
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  Record();
  g_refuseClose = HasFlag("refuse-close");
  WNDCLASSA wc{};
  wc.lpfnWndProc = &ProbeProc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "VantrelProbe";
  RegisterClassA(&wc);
  int x = 40, y = 40, width = 320, height = 200;
  const std::string at = Flag("at");
  if (!at.empty()) std::sscanf(at.c_str(), "%d,%d,%d,%d", &x, &y, &width, &height);
  const std::string title = Flag("title");
  HWND window = CreateWindowExA(0, "VantrelProbe", title.empty() ? "Entry probe" : title.c_str(),
                                WS_OVERLAPPEDWINDOW, x, y, width, height, nullptr, nullptr,
                                instance, nullptr);
  const int later = std::atoi(Flag("show-after").c_str());
  if (later > 0)
    SetTimer(window, kShowTimer, static_cast<UINT>(later), nullptr);
  else
    ShowWindow(window, show);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
