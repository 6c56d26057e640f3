// What the Wine benchmarks share: a millisecond clock, waiting, medians and
// finding another process's window by its class.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace bench {

inline double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Polls `ready` every `pollMs` until it holds or `timeoutMs` have passed.
inline bool WaitUntil(const std::function<bool()>& ready, double timeoutMs, DWORD pollMs = 10) {
  const double start = NowMs();
  while (!ready()) {
    if (NowMs() - start > timeoutMs) return false;
    Sleep(pollMs);
  }
  return true;
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct FindJob {
  DWORD pid;
  const char* className;
  bool visibleOnly;
  HWND found;
};

inline BOOL CALLBACK FindOne(HWND hwnd, LPARAM param) {
  auto* job = reinterpret_cast<FindJob*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != job->pid || (job->visibleOnly && !IsWindowVisible(hwnd))) return TRUE;
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if (lstrcmpA(name, job->className) != 0) return TRUE;
  job->found = hwnd;
  return FALSE;
}

// The first top-level window of a process with the class, or null.
inline HWND FindWindowOf(DWORD pid, const char* className, bool visibleOnly) {
  FindJob job{pid, className, visibleOnly, nullptr};
  EnumWindows(&FindOne, reinterpret_cast<LPARAM>(&job));
  return job.found;
}

}  // namespace bench
