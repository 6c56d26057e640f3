// A stand-in screensaver for the end-to-end cases: copied under *.scr names,
// it appends one line "<tick count>|<own path>|<command line>" to the file
// named by VANTREL_FAKE_SCR_LOG (or to fake_scr.log beside itself) and exits.
// The tick count lets the driver time the start against its own clock.
#include "start_log.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const DWORD tick = GetTickCount();
  char self[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string line = std::to_string(tick) + "|" + self + "|" + GetCommandLineA() + "\r\n";
  return e2e::AppendStartLine(e2e::StartLogPath("VANTREL_FAKE_SCR_LOG", "fake_scr.log"), line) ? 0
                                                                                                : 1;
}
