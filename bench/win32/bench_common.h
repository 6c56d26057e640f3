// What the Wine benchmarks share: a millisecond clock, waiting, medians,
// finding another process's window by its class, and a tray program driven
// by its tray callback.
#pragma once

#include <windows.h>

#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
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

// Written by our own calls, so that setting up or putting back a settings
// file never depends on the code measured.
inline bool WriteWhole(const std::string& path, const std::string& contents) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok =
      WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == contents.size();
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Private memory of a process in KB (Wine gives it as PagefileUsage when
// PrivateUsage is 0); negative when it cannot be read.
inline double PrivateKb(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                            sizeof memory))
    return -1;
  return static_cast<double>(memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage) /
         1024.0;
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

struct DescribeJob {
  DWORD pid;
  std::string text;
};

inline BOOL CALLBACK DescribeOne(HWND hwnd, LPARAM param) {
  auto* job = reinterpret_cast<DescribeJob*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != job->pid) return TRUE;
  char name[64] = {}, caption[160] = {};
  GetClassNameA(hwnd, name, sizeof name);
  DWORD_PTR unused = 0;
  SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof caption, reinterpret_cast<LPARAM>(caption),
                      SMTO_ABORTIFHUNG, 1000, &unused);
  if (lstrcmpA(name, "#32770") == 0) {  // a message box: its text says more than its caption
    char said[128] = {};
    GetDlgItemTextA(hwnd, 0xFFFF, said, sizeof said);
    lstrcatA(caption, ": ");
    lstrcpynA(caption + lstrlenA(caption), said,
              static_cast<int>(sizeof caption) - lstrlenA(caption));
  }
  job->text += std::string(job->text.empty() ? "" : ", ") + name + " \"" + caption + "\"" +
               (IsWindowVisible(hwnd) ? "" : " hidden") +
               (IsWindowEnabled(hwnd) ? "" : " disabled");
  return TRUE;
}

// The top-level windows of a process, for a failure's report: what it shows
// instead of what was awaited.
inline std::string DescribeWindows(DWORD pid) {
  DescribeJob job{pid, ""};
  EnumWindows(&DescribeOne, reinterpret_cast<LPARAM>(&job));
  return job.text.empty() ? "no windows" : "windows: " + job.text;
}

// A driver's arguments: <vantrel.exe> <bench_tray_minimal.exe> [--runs N].
struct Arguments {
  std::string ours;
  std::string minimal;
  int runs;
};

inline Arguments ReadArguments(int argc, char** argv, int runs) {
  Arguments args{"", "", runs};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc)
      args.runs = std::max(1, std::atoi(argv[++i]));
    else if (args.ours.empty())
      args.ours = arg;
    else
      args.minimal = arg;
  }
  return args;
}

constexpr UINT kTrayCallback = WM_USER + 10;

// Whether the shell holds the window's icon: modifying nothing succeeds only then.
inline bool IconHeld(HWND window) {
  NOTIFYICONDATAA record{};
  record.cbSize = NOTIFYICONDATAA_V2_SIZE;
  record.hWnd = window;
  record.uID = 0;
  return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

// A tray program started once and pressed through its hidden window: each
// press posts the tray callback 513 and times until its pop-up menu window
// (#32768) is visible; Escape then dismisses it.
class Tray {
 public:
  Tray(std::string label, std::string commandLine, std::string windowClass)
      : label_(std::move(label)),
        commandLine_(std::move(commandLine)),
        class_(std::move(windowClass)) {}
  ~Tray() { Stop(); }
  Tray(const Tray&) = delete;
  Tray& operator=(const Tray&) = delete;

  // Starts the program and waits until it has finished starting.
  bool Start() {
    if (!Launch()) return false;
    // Started once the window answers a sent message.
    DWORD_PTR unused = 0;
    return SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 60000, &unused) != 0;
  }

  // Milliseconds from starting the program to its icon held by the shell;
  // negative when it did not come up.
  double StartToIcon() {
    const double start = NowMs();
    if (!Launch()) return -1;
    return WaitUntil([&] { return IconHeld(main_); }, 20000, 1) ? NowMs() - start : -1;
  }

  // Milliseconds from starting the program to its first menu, pressed as soon
  // as its window exists; negative when none came.
  double StartToFirstMenu() {
    const double start = NowMs();
    if (!Launch()) return -1;
    return PressAndDismiss(start, 60000);
  }

  // Milliseconds from the posted press to the visible menu; negative when none came.
  double PressAndDismiss(double start = -1, double timeoutMs = 5000) {
    if (start < 0) start = NowMs();
    PostMessageA(main_, kTrayCallback, 0, WM_LBUTTONDOWN);
    HWND menu = nullptr;
    const bool shown = WaitUntil(
        [&] { return (menu = FindWindowOf(pid_, "#32768", true)) != nullptr; }, timeoutMs, 1);
    const double took = NowMs() - start;
    if (!shown) return -1;
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(menu, WM_KEYUP, VK_ESCAPE, 0xC0000000);
    WaitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, 5000, 1);
    // The program is back in its own loop before the next press.
    DWORD_PTR unused = 0;
    SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &unused);
    return took;
  }

  // Takes the icon away as the shell's owner would and ends the program, so
  // that no stale icon stays behind for the next start.
  void Stop() {
    if (process_ == nullptr) return;
    if (main_ != nullptr) {
      NOTIFYICONDATAA record{};
      record.cbSize = NOTIFYICONDATAA_V2_SIZE;
      record.hWnd = main_;
      record.uID = 0;
      Shell_NotifyIconA(NIM_DELETE, &record);
      PostMessageA(main_, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0) {
      TerminateProcess(process_, 1);
      WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
    process_ = nullptr;
    main_ = nullptr;
  }

  const std::string& Label() const { return label_; }
  HANDLE Process() const { return process_; }
  DWORD Pid() const { return pid_; }
  HWND Main() const { return main_; }

 private:
  bool Launch() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, commandLine_.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &info))
      return false;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
    WaitUntil([&] { return (main_ = FindWindowOf(pid_, class_.c_str(), false)) != nullptr; }, 15000,
              1);
    return main_ != nullptr;
  }

  std::string label_;
  std::string commandLine_;
  std::string class_;
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  HWND main_ = nullptr;
};

}  // namespace bench
