// A small program for the entry options cases: it appends one line
// "<command line>|<current folder>" to the file named by VANTREL_PROBE_LOG (or
// to entry_probe.log beside itself), then shows a window of class
// "VantrelProbe" until it is closed, so that a case can find it running.
#include <string>

#include "start_log.h"

namespace {

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void Record() {
  char folder[MAX_PATH + 1] = {};
  GetCurrentDirectoryA(sizeof folder, folder);
  e2e::AppendStartLine(e2e::StartLogPath("VANTREL_PROBE_LOG", "entry_probe.log"),
                       std::string(GetCommandLineA()) + "|" + folder + "\r\n");
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  Record();
  WNDCLASSA wc{};
  wc.lpfnWndProc = &ProbeProc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "VantrelProbe";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, "VantrelProbe", "Entry probe", WS_OVERLAPPEDWINDOW, 40, 40, 320,
                                200, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, show);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
