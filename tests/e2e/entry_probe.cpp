// A small program for the entry options cases: it appends one line
// "<command line>|<current folder>" to the file named by VANTREL_PROBE_LOG (or
// to entry_probe.log beside itself), then shows a window of class
// "VantrelProbe" until it is closed, so that a case can find it running.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

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
  char logPath[MAX_PATH + 1] = {};
  DWORD got = GetEnvironmentVariableA("VANTREL_PROBE_LOG", logPath, sizeof logPath);
  std::string log;
  if (got > 0 && got < sizeof logPath) {
    log = logPath;
  } else {
    char self[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    log = self;
    log = log.substr(0, log.find_last_of('\\') + 1) + "entry_probe.log";
  }
  const std::string line = std::string(GetCommandLineA()) + "|" + folder + "\r\n";
  for (int attempt = 0; attempt < 50; ++attempt) {
    HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(file);
      return;
    }
    Sleep(20);
  }
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
