// A stand-in screensaver for the end-to-end cases: copied under *.scr names,
// it appends one line "<tick count>|<own path>|<command line>" to the file
// named by VANTREL_FAKE_SCR_LOG (or to fake_scr.log beside itself) and exits.
// The tick count lets the driver time the start against its own clock.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const DWORD tick = GetTickCount();
  char self[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);

  char logPath[MAX_PATH + 1] = {};
  DWORD got = GetEnvironmentVariableA("VANTREL_FAKE_SCR_LOG", logPath, sizeof logPath);
  std::string log;
  if (got > 0 && got < sizeof logPath) {
    log = logPath;
  } else {
    log = self;
    log = log.substr(0, log.find_last_of('\\') + 1) + "fake_scr.log";
  }

  const std::string line = std::to_string(tick) + "|" + self + "|" + GetCommandLineA() + "\r\n";
  // Several starts append in turn; a start held off by a sharing writer
  // retries.
  for (int attempt = 0; attempt < 50; ++attempt) {
    HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(file);
      return 0;
    }
    Sleep(20);
  }
  return 1;
}
