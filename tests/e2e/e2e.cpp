#include "e2e.h"

#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace e2e {
namespace {

struct Registered {
  const char* name;
  TestFunction function;
};

std::vector<Registered>& Cases() {
  static std::vector<Registered> cases;
  return cases;
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

std::string TextOf(HWND hwnd) {
  char text[4096] = {};
  DWORD_PTR unused = 0;
  // Asked by message with a timeout, so a hung program cannot hang the driver.
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, 3000, &unused))
    return "";
  return text;
}

struct FindJob {
  DWORD pid;
  const char* className;
  bool visibleOnly;
  HWND except;
  HWND found;
};

BOOL CALLBACK FindOne(HWND hwnd, LPARAM param) {
  auto* job = reinterpret_cast<FindJob*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != job->pid || hwnd == job->except) return TRUE;
  if (job->visibleOnly && !IsWindowVisible(hwnd)) return TRUE;
  if (ClassOf(hwnd) != job->className) return TRUE;
  job->found = hwnd;
  return FALSE;
}

HWND FindProcessWindow(DWORD pid, const char* className, bool visibleOnly, HWND except) {
  FindJob job{pid, className, visibleOnly, except, nullptr};
  EnumWindows(&FindOne, reinterpret_cast<LPARAM>(&job));
  return job.found;
}

}  // namespace

// --- Test cases ------------------------------------------------------------------

Registrar::Registrar(const char* name, TestFunction function) {
  Cases().push_back({name, function});
}

void Expect(Context& ctx, bool ok, const std::string& what) {
  if (!ok) ctx.failures.push_back(what);
}

void Require(Context& ctx, bool ok, const std::string& what) {
  if (!ok) throw Failure(what);
  (void)ctx;
}

void ExpectEq(Context& ctx, const std::string& actual, const std::string& expected,
              const std::string& what) {
  if (actual != expected)
    ctx.failures.push_back(what + ": got \"" + actual + "\", expected \"" + expected + "\"");
}

namespace {

// A case that hangs (a wait inside Wine that never returns) must not stall the
// whole run: the watchdog reports it with what was on screen and ends the run.
struct Watchdog {
  CRITICAL_SECTION lock;
  const char* running = nullptr;
  DWORD started = 0;
  int passed = 0;
  int failed = 0;
  int left = 0;  // cases after the running one
  Context* ctx = nullptr;
};

Watchdog g_watchdog;
constexpr DWORD kCaseLimitMs = 120000;

BOOL CALLBACK ListWindow(HWND hwnd, LPARAM) {
  if (!IsWindowVisible(hwnd)) return TRUE;
  char className[64] = {}, title[128] = {};
  GetClassNameA(hwnd, className, sizeof className);
  GetWindowTextA(hwnd, title, sizeof title);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  std::printf("         window pid %lu class \"%s\" title \"%s\"\n",
              static_cast<unsigned long>(pid), className, title);
  return TRUE;
}

DWORD WINAPI WatchCases(void*) {
  for (;;) {
    Sleep(1000);
    EnterCriticalSection(&g_watchdog.lock);
    const char* name = g_watchdog.running;
    const bool hung = name != nullptr && GetTickCount() - g_watchdog.started > kCaseLimitMs;
    LeaveCriticalSection(&g_watchdog.lock);
    if (!hung) continue;
    std::printf("         the case hung for %lu s; visible windows:\n",
                static_cast<unsigned long>(kCaseLimitMs / 1000));
    EnumWindows(ListWindow, 0);
    Screenshot(*g_watchdog.ctx, std::string("hung-") + name);
    std::printf("[ FAIL ] %s (hung)\n", name);
    std::printf("e2e: %d passed, %d failed\n", g_watchdog.passed,
                g_watchdog.failed + 1 + g_watchdog.left);
    std::fflush(stdout);
    ExitProcess(1);
  }
}

}  // namespace

int RunAll(Context& ctx, const std::string& filter) {
  std::vector<const Registered*> chosen;
  for (const Registered& c : Cases())
    if (filter.empty() || std::string(c.name).find(filter) != std::string::npos)
      chosen.push_back(&c);
  InitializeCriticalSection(&g_watchdog.lock);
  g_watchdog.ctx = &ctx;
  CloseHandle(CreateThread(nullptr, 0, WatchCases, nullptr, 0, nullptr));

  int passed = 0;
  int failed = 0;
  for (std::size_t i = 0; i < chosen.size(); ++i) {
    const Registered& c = *chosen[i];
    ctx.failures.clear();
    std::printf("[ RUN  ] %s\n", c.name);
    std::fflush(stdout);
    DWORD started = GetTickCount();
    EnterCriticalSection(&g_watchdog.lock);
    g_watchdog.running = c.name;
    g_watchdog.started = started;
    g_watchdog.passed = passed;
    g_watchdog.failed = failed;
    g_watchdog.left = static_cast<int>(chosen.size() - i - 1);
    LeaveCriticalSection(&g_watchdog.lock);
    try {
      c.function(ctx);
    } catch (const Failure& f) {
      ctx.failures.push_back(f.what());
    } catch (const std::exception& e) {
      ctx.failures.push_back(std::string("exception: ") + e.what());
    }
    EnterCriticalSection(&g_watchdog.lock);
    g_watchdog.running = nullptr;
    LeaveCriticalSection(&g_watchdog.lock);
    DWORD took = GetTickCount() - started;
    if (ctx.failures.empty()) {
      ++passed;
      std::printf("[  OK  ] %s (%lu ms)\n", c.name, static_cast<unsigned long>(took));
    } else {
      ++failed;
      for (const std::string& f : ctx.failures) std::printf("         %s\n", f.c_str());
      std::printf("[ FAIL ] %s (%lu ms)\n", c.name, static_cast<unsigned long>(took));
    }
    std::fflush(stdout);
  }
  std::printf("e2e: %d passed, %d failed\n", passed, failed);
  std::fflush(stdout);
  return failed;
}

void Screenshot(Context& ctx, const std::string& name, HWND window) {
  if (ctx.shotsDir.empty()) return;
  std::string line = name;
  if (window != nullptr) {
    // Painted before the picture: the window and its controls have handled
    // their paint messages when this returns, not just been shown.
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT r{};
    if (GetWindowRect(window, &r))
      line += " " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
              std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top);
  }
  const std::string request = ctx.shotsDir + "\\request.txt";
  const std::string partial = request + ".part";
  if (!WriteFileText(partial, line) ||
      !MoveFileExA(partial.c_str(), request.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    std::printf("         (screenshot %s not requested)\n", name.c_str());
    return;
  }
  // The script takes the picture and removes the request.
  if (!WaitUntil([&] { return !IsFile(request); }, 10000)) {
    DeleteFileA(request.c_str());
    std::printf("         (screenshot %s not taken)\n", name.c_str());
  }
}

bool WaitUntil(const std::function<bool()>& ready, DWORD timeoutMs) {
  DWORD started = GetTickCount();
  for (;;) {
    if (ready()) return true;
    if (GetTickCount() - started >= timeoutMs) return false;
    Sleep(20);
  }
}

// --- The program -------------------------------------------------------------------

Program::~Program() { Stop(); }

bool Program::Start(Context& ctx, DWORD timeoutMs) {
  ctx_ = &ctx;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string commandLine = "\"" + ctx.programPath + "\"";
  if (!CreateProcessA(ctx.programPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &startup, &info))
    return false;
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  pid_ = info.dwProcessId;
  WaitUntil(
      [&] {
        main_ = FindProcessWindow(pid_, "TForm1", false, nullptr);
        return main_ != nullptr || !Running();
      },
      timeoutMs);
  return main_ != nullptr;
}

bool Program::Launch(Context& ctx, const std::string& arguments, HANDLE output) {
  ctx_ = &ctx;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = output;
  PROCESS_INFORMATION info{};
  std::string commandLine = "\"" + ctx.programPath + "\" " + arguments;
  if (!CreateProcessA(ctx.programPath.c_str(), commandLine.data(), nullptr, nullptr,
                      output != nullptr, output != nullptr ? 0 : DETACHED_PROCESS, nullptr, nullptr,
                      &startup, &info))
    return false;
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  pid_ = info.dwProcessId;
  return true;
}

DWORD Program::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_ != nullptr) GetExitCodeProcess(process_, &code);
  return code;
}

bool Program::Running() const {
  return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Program::WaitForExit(DWORD timeoutMs) {
  return process_ == nullptr || WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

void Program::Stop() {
  if (process_ == nullptr) return;
  if (Running()) {
    // Closing the main window ends the program; a hung one is ended by force.
    if (main_ != nullptr) PostMessageA(main_, WM_CLOSE, 0, 0);
    if (!WaitForExit(3000)) {
      TerminateProcess(process_, 1);
      WaitForExit(5000);
    }
  }
  CloseHandle(process_);
  process_ = nullptr;
  main_ = nullptr;
  spyBase_ = 0;
}

void Program::PostTrayCallback(LPARAM mouseMessage, WPARAM anchor) {
  PostMessageA(main_, WM_USER + 10, anchor, mouseMessage);
}

bool Program::TrayIconPresent() const {
  // Modifying nothing succeeds only for an icon the shell knows.
  NOTIFYICONDATAA record{};
  record.cbSize = NOTIFYICONDATAA_V2_SIZE;
  record.hWnd = main_;
  record.uID = 0;
  record.uFlags = 0;
  return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

HWND Program::WaitForMenu(DWORD timeoutMs) const { return WaitForWindow("#32768", timeoutMs); }

HWND Program::WaitForWindow(const char* className, DWORD timeoutMs, HWND except) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = FindProcessWindow(pid_, className, true, except);
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

void Program::ChooseMenuItem(HWND menu, int index) {
  for (int i = 0; i <= index; ++i) {
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYUP, VK_DOWN, 0xC0000000);
  }
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  PostMessageA(menu, WM_KEYUP, VK_RETURN, 0xC0000000);
}

bool Program::InjectSpy() {
  if (spyBase_ != 0) return true;
  if (process_ == nullptr || ctx_ == nullptr) return false;
  const std::string& path = ctx_->spyPath;
  void* remote =
      VirtualAllocEx(process_, nullptr, path.size() + 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (remote == nullptr) return false;
  bool ok = WriteProcessMemory(process_, remote, path.c_str(), path.size() + 1, nullptr) != FALSE;
  // kernel32 sits at the same address in every process of one bitness.
  auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
  HANDLE thread =
      ok ? CreateRemoteThread(process_, nullptr, 0, loadLibrary, remote, 0, nullptr) : nullptr;
  if (thread != nullptr) {
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
  }
  VirtualFreeEx(process_, remote, 0, MEM_RELEASE);
  // Where the DLL landed, found by name (a thread's exit code is too small on 64-bit).
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid_);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  MODULEENTRY32 module{};
  module.dwSize = sizeof module;
  for (BOOL more = Module32First(snapshot, &module); more; more = Module32Next(snapshot, &module))
    if (lstrcmpiA(module.szModule, "menuspy.dll") == 0)
      spyBase_ = reinterpret_cast<ULONG_PTR>(module.modBaseAddr);
  CloseHandle(snapshot);
  return spyBase_ != 0;
}

std::optional<DWORD> Program::CallSpy(const char* function, void* argument, DWORD timeoutMs) {
  if (!InjectSpy()) return std::nullopt;
  static HMODULE local = LoadLibraryA(ctx_->spyPath.c_str());
  if (local == nullptr) return std::nullopt;
  FARPROC here = GetProcAddress(local, function);
  if (here == nullptr) return std::nullopt;
  ULONG_PTR offset = reinterpret_cast<ULONG_PTR>(here) - reinterpret_cast<ULONG_PTR>(local);
  auto there = reinterpret_cast<LPTHREAD_START_ROUTINE>(spyBase_ + offset);
  HANDLE thread = CreateRemoteThread(process_, nullptr, 0, there, argument, 0, nullptr);
  if (thread == nullptr) return std::nullopt;
  DWORD code = 0;
  bool done =
      WaitForSingleObject(thread, timeoutMs) == WAIT_OBJECT_0 && GetExitCodeThread(thread, &code);
  CloseHandle(thread);
  if (!done) return std::nullopt;
  return code;
}

std::optional<std::pair<DWORD, std::string>> Program::CallSpyForText(const char* function,
                                                                     void* argument) {
  // The spy writes its answer into a mapping named after the program's
  // process id, which the driver makes beforehand.
  const std::string name = "VantrelMenuSpy-" + std::to_string(pid_);
  const DWORD size = 1 << 16;
  HANDLE mapping =
      CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name.c_str());
  if (mapping == nullptr) return std::nullopt;
  auto* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, size));
  std::optional<std::pair<DWORD, std::string>> result;
  if (view != nullptr) {
    view[0] = '\0';
    std::optional<DWORD> count = CallSpy(function, argument, 5000);
    if (count && *count != 0xFFFFFFFF)
      result.emplace(*count, std::string(view, strnlen(view, size)));
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
  return result;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
    lines.push_back(text.substr(at, end - at - (end > at && text[end - 1] == '\r' ? 1 : 0)));
  return lines;
}

std::optional<std::vector<MenuItem>> Program::ReadMenu() {
  // "<flags> <caption>" lines.
  const auto answer = CallSpyForText("SpyReadMenu", nullptr);
  if (!answer) return std::nullopt;
  std::vector<MenuItem> items;
  for (const std::string& whole : SplitLines(answer->second)) {
    const bool sub = !whole.empty() && whole[0] == '>';  // of the item above
    const std::string line = whole.substr(sub ? 1 : 0);
    if (line.size() < 2 || (sub && items.empty())) continue;
    MenuItem item;
    item.separator = line[0] == 'S';
    item.enabled = line[1] != 'D';
    item.caption = line.substr(line.size() > 2 ? 3 : 2);
    (sub ? items.back().submenu : items).push_back(item);
  }
  if (items.size() != answer->first) return std::nullopt;
  return items;
}

bool Program::MoveTo144Dpi(HWND window) {
  return CallSpy("SpyMoveTo144Dpi", window, 5000).has_value();
}

std::optional<std::vector<ShownText>> Program::MeasureTexts(HWND window) {
  const auto answer = CallSpyForText("SpyMeasureTexts", window);
  if (!answer) return std::nullopt;
  std::vector<ShownText> shown;
  for (const std::string& line : SplitLines(answer->second)) {
    ShownText t;
    int used = 0;
    long r[8] = {};
    if (std::sscanf(line.c_str(), "%d %c %ld %ld %ld %ld %ld %ld %ld %ld %n", &t.id, &t.kind, &r[0],
                    &r[1], &r[2], &r[3], &r[4], &r[5], &r[6], &r[7], &used) < 10)
      return std::nullopt;
    t.rect = {r[0], r[1], r[2], r[3]};
    t.needed = {r[4], r[5]};
    t.picture = {r[6], r[7]};
    t.text = line.substr(static_cast<std::size_t>(used));
    shown.push_back(t);
  }
  if (shown.size() != answer->first) return std::nullopt;
  return shown;
}

bool Program::RecordShellStarts(bool refuseElevation) {
  std::optional<DWORD> changed =
      CallSpy("SpyRecordShellStarts", refuseElevation ? reinterpret_cast<void*>(1) : nullptr, 5000);
  return changed.has_value() && *changed > 0;
}

std::string Program::BoxIcon(HWND box) {
  static const std::map<DWORD, std::string> kinds = {
      {0, "none"}, {1, "warning"}, {2, "information"}, {3, "error"}, {4, "question"}};
  std::optional<DWORD> kind = CallSpy("SpyBoxIcon", box, 5000);
  if (!kind || kinds.count(*kind) == 0) return "unknown";
  return kinds.at(*kind);
}

// --- Message boxes ---------------------------------------------------------------------

Box ReadBox(HWND box) {
  Box b;
  b.hwnd = box;
  b.caption = TextOf(box);
  HWND text = GetDlgItem(box, 0xFFFF);
  if (text != nullptr) b.text = TextOf(text);
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) != "Button" && ClassOf(child) != "BUTTON") continue;
    if (!IsWindowVisible(child)) continue;
    int id = GetDlgCtrlID(child);
    b.buttons.push_back(id);
    if ((GetWindowLongA(child, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON) b.defaultButton = id;
  }
  return b;
}

bool PressBoxButton(HWND box, int id) {
  HWND button = GetDlgItem(box, id);
  if (button == nullptr) return false;
  DWORD_PTR unused = 0;
  return SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 3000, &unused) != 0;
}

void PressKey(HWND window, WPARAM key) {
  // The key goes to the control that has the focus, as a real key press would.
  HWND target = window;
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui) && gui.hwndFocus != nullptr)
    target = gui.hwndFocus;
  PostMessageA(target, WM_KEYDOWN, key, 1);
  PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
  return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

// --- Registry ------------------------------------------------------------------------------

// --- Windows and controls -----------------------------------------------------------------

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 3000, &result);
  return static_cast<LRESULT>(result);
}

std::string Text(HWND window) {
  LRESULT length = Send(window, WM_GETTEXTLENGTH);
  std::string text(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, '\0');
  LRESULT got = Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
  return text;
}

void SetText(HWND window, const std::string& text) {
  Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int TextPixels(HWND control) {
  e2e::Send(control, EM_SETSEL, 0, 0);
  RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  RECT r{};
  GetClientRect(control, &r);
  MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&r), 2);
  HDC screen = GetDC(nullptr);
  const COLORREF background = GetPixel(screen, r.left + 1, r.top + 1);
  int count = 0;
  for (int y = r.top + 1; y < r.bottom - 1; ++y)
    for (int x = r.left + 1; x < r.right - 1; ++x) {
      const COLORREF c = GetPixel(screen, x, y);
      const int distance = std::abs(GetRValue(c) - GetRValue(background)) +
                           std::abs(GetGValue(c) - GetGValue(background)) +
                           std::abs(GetBValue(c) - GetBValue(background));
      if (distance > 200) ++count;
    }
  ReleaseDC(nullptr, screen);
  return count;
}

HWND Control(Context& ctx, HWND window, int id) {
  HWND control = GetDlgItem(window, id);
  Require(ctx, control != nullptr, "control " + std::to_string(id) + " exists");
  return control;
}

void Click(Context& ctx, HWND window, int id) {
  PostMessageA(Control(ctx, window, id), BM_CLICK, 0, 0);
}

int Selected(HWND list) { return static_cast<int>(Send(list, LB_GETCURSEL)); }

HWND WaitWindow(Context& ctx, Program& program, const char* className, const std::string& what) {
  HWND window = program.WaitForWindow(className, 5000);
  if (window == nullptr) Screenshot(ctx, std::string("failed-") + className);
  Require(ctx, window != nullptr, what + " (" + className + ") opens");
  return window;
}

// --- Message boxes and menus of the program --------------------------------------------------

HWND ExpectBox(Context& ctx, Program& program, const std::string& caption, const std::string& text,
               const std::string& icon, const std::string& when) {
  HWND box = program.WaitForWindow("#32770", 10000);
  Require(ctx, box != nullptr, when + ": a message box appears");
  Box read = ReadBox(box);
  ExpectEq(ctx, read.caption, caption, when + ": caption");
  ExpectEq(ctx, read.text, text, when + ": text");
  ExpectEq(ctx, program.BoxIcon(box), icon, when + ": icon");
  return box;
}

HWND ExpectBox(Context& ctx, Program& program, const std::string& caption, const std::string& text,
               const std::string& icon, const std::vector<int>& buttons, const std::string& when) {
  HWND box = ExpectBox(ctx, program, caption, text, icon, when);
  const bool okOnly = buttons == std::vector<int>({IDOK});
  Expect(ctx, ReadBox(box).buttons == buttons, when + (okOnly ? ": one OK button" : ": buttons"));
  return box;
}

void Answer(Context& ctx, HWND box, int button, const std::string& when) {
  Require(ctx, PressBoxButton(box, button), when + ": button pressed");
  Require(ctx, WaitForWindowGone(box, 5000), when + ": the box closes");
}

void ExpectOkBox(Context& ctx, Program& program, const std::string& caption,
                 const std::string& text, const std::string& icon, const std::string& when) {
  Answer(ctx, ExpectBox(ctx, program, caption, text, icon, {IDOK}, when), IDOK, when);
}

void ExpectNoBox(Context& ctx, Program& program, const std::string& when) {
  HWND box = program.WaitForWindow("#32770", 400);
  Expect(ctx, box == nullptr,
         when + ": no message box" + (box ? ", got: " + ReadBox(box).text : ""));
}

HWND OpenMenu(Context& ctx, Program& program, LPARAM press, const std::string& when) {
  program.PostTrayCallback(press);
  HWND menu = program.WaitForMenu(5000);
  Require(ctx, menu != nullptr, when + ": the menu opens");
  return menu;
}

void Choose(Context& ctx, Program& program, HWND menu, int index, const std::string& when) {
  program.ChooseMenuItem(menu, index);
  Require(ctx, WaitForWindowGone(menu, 5000), when + ": the menu closes");
}

void Dismiss(Context& ctx, HWND menu) {
  PressKey(menu, VK_ESCAPE);
  Require(ctx, WaitForWindowGone(menu, 5000), "Escape dismisses the menu");
}

std::optional<std::string> ReadRegString(const std::string& key, const std::string& name) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
    return std::nullopt;
  char data[4096] = {};
  DWORD size = sizeof data - 1;
  DWORD type = 0;
  LONG status =
      RegQueryValueExA(h, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(h);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
  return std::string(data);
}

bool WriteRegString(const std::string& key, const std::string& name, const std::string& value) {
  HKEY h = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                      nullptr) != ERROR_SUCCESS)
    return false;
  LONG status =
      RegSetValueExA(h, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
  RegCloseKey(h);
  return status == ERROR_SUCCESS;
}

bool WriteRegValue(const std::string& key, const std::string& name, DWORD type,
                   const std::string& bytes) {
  HKEY h = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                      nullptr) != ERROR_SUCCESS)
    return false;
  LONG status =
      RegSetValueExA(h, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                     static_cast<DWORD>(bytes.size()));
  RegCloseKey(h);
  return status == ERROR_SUCCESS;
}

bool WriteRegDword(const std::string& key, const std::string& name, DWORD value) {
  return WriteRegValue(key, name, REG_DWORD,
                       std::string(reinterpret_cast<const char*>(&value), sizeof value));
}

RestoreRegValue::RestoreRegValue(std::string key, std::string name)
    : key_(std::move(key)), name_(std::move(name)) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return;
  DWORD size = 0;
  if (RegQueryValueExA(h, name_.c_str(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
    bytes_.resize(size);
    had_ = RegQueryValueExA(h, name_.c_str(), nullptr, &type_,
                            reinterpret_cast<BYTE*>(bytes_.data()), &size) == ERROR_SUCCESS;
    bytes_.resize(had_ ? size : 0);
  }
  RegCloseKey(h);
}

RestoreRegValue::~RestoreRegValue() {
  if (had_)
    WriteRegValue(key_, name_, type_, bytes_);
  else
    DeleteRegValue(key_, name_);
}

void DeleteRegValue(const std::string& key, const std::string& name) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS) return;
  RegDeleteValueA(h, name.c_str());
  RegCloseKey(h);
}

// --- Files -----------------------------------------------------------------------------------

std::string AppDataFolder() {
  char path[MAX_PATH + 1] = {};
  SHGetSpecialFolderPathA(nullptr, path, CSIDL_APPDATA, FALSE);
  return path;
}

bool IsDirectory(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> ReadFileText(const std::string& path) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string text;
  char chunk[8192];
  DWORD got = 0;
  while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
  CloseHandle(f);
  return text;
}

bool WriteFileText(const std::string& path, const std::string& text) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(f);
  return ok && written == text.size();
}

void RemovePath(const std::string& path) {
  if (IsDirectory(path)) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        RemovePath(path + "\\" + name);
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
  } else if (IsFile(path)) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
  }
}

bool HoldUnshared(const std::string& path, DWORD heldMs, const std::function<void()>& meanwhile,
                  DWORD share) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  const DWORD started = GetTickCount();
  meanwhile();
  const DWORD took = GetTickCount() - started;
  if (took < heldMs) Sleep(heldMs - took);
  CloseHandle(f);
  return true;
}

bool SameText(const std::string& a, const std::string& b) {
  return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

std::string Trimmed(const std::string& text) {
  std::size_t a = text.find_first_not_of(" \t\r");
  std::size_t b = text.find_last_not_of(" \t\r");
  return a == std::string::npos ? "" : text.substr(a, b - a + 1);
}

std::string TempDir(bool longForm) {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  char full[MAX_PATH + 1] = {};
  if (longForm) GetLongPathNameA(temp, full, MAX_PATH);
  std::string dir = full[0] ? full : temp;
  if (!dir.empty() && dir.back() == '\\') dir.pop_back();
  return dir;
}

std::string WindowsDir() {
  char path[MAX_PATH + 1] = {};
  GetWindowsDirectoryA(path, MAX_PATH);
  return path;
}

std::string SystemDir() {
  char path[MAX_PATH + 1] = {};
  GetSystemDirectoryA(path, MAX_PATH);
  return path;
}

std::optional<IniSection> ReadIniSection(const std::string& path, const std::string& wanted) {
  auto text = ReadFileText(path);
  if (!text) return std::nullopt;
  IniSection result;
  std::string section;
  std::size_t at = 0;
  while (at <= text->size()) {
    std::size_t end = text->find('\n', at);
    if (end == std::string::npos) end = text->size();
    std::string line = Trimmed(text->substr(at, end - at));
    at = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
      continue;
    }
    std::size_t eq = line.find('=');
    if (section != wanted || eq == std::string::npos) continue;
    ++result.keyLines;
    result.values.emplace(Trimmed(line.substr(0, eq)), Trimmed(line.substr(eq + 1)));
  }
  return result;
}

}  // namespace e2e
