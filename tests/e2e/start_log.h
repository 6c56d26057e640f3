// What the tests' small programs share: the log they record their start in,
// and the append that several starts make in turn.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

namespace e2e {

// The file the environment variable names, or `fallback` beside the program.
inline std::string StartLogPath(const char* variable, const char* fallback) {
  char named[MAX_PATH + 1] = {};
  const DWORD got = GetEnvironmentVariableA(variable, named, sizeof named);
  if (got > 0 && got < sizeof named) return named;
  char self[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string path = self;
  return path.substr(0, path.find_last_of('\\') + 1) + fallback;
}

// Appends one line; a start held off by another start's writing retries.
inline bool AppendStartLine(const std::string& log, const std::string& line) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(file);
      return true;
    }
    Sleep(20);
  }
  return false;
}

}  // namespace e2e
