// The desktop's windows and monitors on Windows, and placing and closing windows.
#include "platform/win32/desktop_windows.h"

#include <cwchar>
#include <string_view>
#include <utility>

#include "platform/utf8.h"
#include "platform/win32/handles.h"

namespace vantrel::win32 {
namespace {

constexpr DWORD kExtendedFrameBounds = 9;  // DWMWA_EXTENDED_FRAME_BOUNDS
constexpr DWORD kCloaked = 14;             // DWMWA_CLOAKED
constexpr int kEffectiveDpi = 0;           // MDT_EFFECTIVE_DPI

struct SystemFunctions {
  HRESULT(WINAPI* windowAttribute)(HWND, DWORD, void*, DWORD) = nullptr;
  HRESULT(WINAPI* dpiForMonitor)(HMONITOR, int, UINT*, UINT*) = nullptr;
};

template <typename F>
void Resolve(HMODULE dll, const char* name, F& function) {
  if (dll != nullptr)
    function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

const SystemFunctions& System() {
  static const SystemFunctions functions = [] {
    SystemFunctions f;
    Resolve(LoadLibraryA("dwmapi.dll"), "DwmGetWindowAttribute", f.windowAttribute);
    Resolve(LoadLibraryA("shcore.dll"), "GetDpiForMonitor", f.dpiForMonitor);
    return f;
  }();
  return functions;
}

HWND HandleOf(WindowId id) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(id)); }
WindowId IdOf(HWND window) { return reinterpret_cast<std::uintptr_t>(window); }

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }
RECT ToRECT(const Rect& r) { return {r.left, r.top, r.left + r.width, r.top + r.height}; }

std::string Utf8Of(const wchar_t* text, std::size_t length) {
  return Utf16LeToUtf8(
      std::string_view(reinterpret_cast<const char*>(text), length * sizeof(wchar_t)));
}

// What is seen of the window: the DWM's frame where it tells it (E_NOTIMPL
// under Wine, whose windows have no invisible borders), else the rectangle.
RECT VisibleRect(HWND window) {
  RECT r{};
  if (System().windowAttribute == nullptr ||
      FAILED(System().windowAttribute(window, kExtendedFrameBounds, &r, sizeof r)))
    GetWindowRect(window, &r);
  return r;
}

bool Cloaked(HWND window) {
  DWORD cloaked = 0;
  return System().windowAttribute != nullptr &&
         SUCCEEDED(System().windowAttribute(window, kCloaked, &cloaked, sizeof cloaked)) &&
         cloaked != 0;
}

ShowState StateOf(HWND window) {
  if (IsIconic(window)) return ShowState::Minimised;
  return IsZoomed(window) ? ShowState::Maximised : ShowState::Normal;
}

struct Collector {
  std::vector<DesktopWindow> windows;
  std::vector<std::pair<DWORD, std::string>> programs;  // each process asked once a call
  std::wstring buffer = std::wstring(32768, L'\0');

  const std::string& ProgramOf(DWORD processId) {
    for (const auto& known : programs)
      if (known.first == processId) return known.second;
    std::string path;
    // Limited rights are enough for the image's name, also of an elevated process.
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    DWORD size = static_cast<DWORD>(buffer.size());
    if (process && QueryFullProcessImageNameW(process.Get(), 0, buffer.data(), &size))
      path = Utf8Of(buffer.data(), size);
    return programs.emplace_back(processId, std::move(path)).second;
  }
};

// The style answers for visible, enabled and the state in one call: each call
// on another program's window costs a trip to the system (and to the server
// under Wine), at every look.
BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  if ((style & WS_VISIBLE) == 0) return TRUE;  // a top-level window has no parent to hide it
  auto& collector = *reinterpret_cast<Collector*>(param);
  DesktopWindow w;
  w.id = IdOf(window);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  w.processId = processId;
  w.program = collector.ProgramOf(processId);
  w.owned = GetWindow(window, GW_OWNER) != nullptr;
  w.cloaked = Cloaked(window);
  w.enabled = (style & WS_DISABLED) == 0;
  w.bounds = ToRect(VisibleRect(window));
  w.state = (style & WS_MINIMIZE) != 0   ? ShowState::Minimised
            : (style & WS_MAXIMIZE) != 0 ? ShowState::Maximised
                                         : ShowState::Normal;
  collector.windows.push_back(std::move(w));
  return TRUE;
}

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

BOOL CALLBACK CollectMonitor(HMONITOR handle, HDC, LPRECT, LPARAM param) {
  MONITORINFOEXW info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(handle, &info)) return TRUE;
  Monitor monitor;
  monitor.device = Utf8Of(info.szDevice, wcsnlen(info.szDevice, CCHDEVICENAME));
  monitor.area = ToRect(info.rcMonitor);
  monitor.work = ToRect(info.rcWork);
  UINT x = 0, y = 0;
  const bool told = System().dpiForMonitor != nullptr &&
                    SUCCEEDED(System().dpiForMonitor(handle, kEffectiveDpi, &x, &y)) && y > 0;
  monitor.dpi = told ? static_cast<int>(y) : SystemDpi();
  reinterpret_cast<std::vector<Monitor>*>(param)->push_back(std::move(monitor));
  return TRUE;
}

// A window's normal bounds in its placement are relative to the work area of
// their monitor (a tool window's excepted): how far that is from the screen's.
POINT WorkspaceOffset(HWND window, const RECT& rect) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if ((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0 ||
      !GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info))
    return {0, 0};
  return {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
}

RECT Shifted(RECT r, LONG dx, LONG dy) {
  OffsetRect(&r, dx, dy);
  return r;
}

// How far the window's rectangle reaches past what is seen of it on each side.
RECT Borders(HWND window) {
  RECT outer{};
  GetWindowRect(window, &outer);
  const RECT seen = VisibleRect(window);
  return {seen.left - outer.left, seen.top - outer.top, outer.right - seen.right,
          outer.bottom - seen.bottom};
}

RECT Outset(const RECT& r, const RECT& by) {
  return {r.left - by.left, r.top - by.top, r.right + by.right, r.bottom + by.bottom};
}

UINT ShowCommand(ShowState state) {
  switch (state) {
    case ShowState::Maximised:
      return SW_SHOWMAXIMIZED;
    case ShowState::Minimised:
      return SW_SHOWMINNOACTIVE;
    case ShowState::Normal:
      break;
  }
  return SW_SHOWNOACTIVATE;
}

PlaceResult Lost(HWND window) {
  return IsWindow(window) ? PlaceResult::Refused : PlaceResult::Gone;
}

// Wine places no window of another process by its placement: there the window
// is restored, moved, then given its state, each step posted in turn.
PlaceResult PlaceByMoving(HWND window, ShowState state, const RECT& outer) {
  const UINT moving = SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS;
  const bool done =
      (StateOf(window) == ShowState::Normal || ShowWindowAsync(window, SW_SHOWNOACTIVATE)) &&
      SetWindowPos(window, nullptr, outer.left, outer.top, outer.right - outer.left,
                   outer.bottom - outer.top, moving) &&
      (state == ShowState::Normal || ShowWindowAsync(window, ShowCommand(state)));
  return done ? PlaceResult::Done : Lost(window);
}

}  // namespace

std::vector<DesktopWindow> Win32DesktopWindows::Windows() {
  Collector collector;
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&collector));
  return std::move(collector.windows);
}

std::vector<Monitor> Win32DesktopWindows::Monitors() {
  std::vector<Monitor> monitors;
  EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

std::optional<Placement> Win32DesktopWindows::PlacementOf(WindowId id) {
  HWND window = HandleOf(id);
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!IsWindow(window) || !GetWindowPlacement(window, &wp)) return std::nullopt;
  Placement placement{StateOf(window), {}};
  // A normal window snapped to a side of the screen is not at its normal bounds.
  if (placement.state == ShowState::Normal) {
    placement.normal = ToRect(VisibleRect(window));
  } else {
    const POINT offset = WorkspaceOffset(window, wp.rcNormalPosition);
    placement.normal = ToRect(Shifted(wp.rcNormalPosition, offset.x, offset.y));
  }
  return placement;
}

PlaceResult Win32DesktopWindows::Place(WindowId id, const Placement& placement) {
  HWND window = HandleOf(id);
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!IsWindow(window)) return PlaceResult::Gone;
  if (!GetWindowPlacement(window, &wp)) return Lost(window);
  RECT outer = ToRECT(placement.normal);
  // The invisible borders can be measured only while the window is normal; a
  // window that was not is found elsewhere afterwards and placed once more.
  if (placement.state == ShowState::Normal && StateOf(window) == ShowState::Normal)
    outer = Outset(outer, Borders(window));
  const POINT offset = WorkspaceOffset(window, outer);
  // Posted to the window's own thread, so that a program that is busy does not
  // hold this one up; the system still refuses at once what it will not do.
  wp.flags = WPF_ASYNCWINDOWPLACEMENT;
  wp.showCmd = ShowCommand(placement.state);
  wp.rcNormalPosition = Shifted(outer, -offset.x, -offset.y);
  if (SetWindowPlacement(window, &wp)) return PlaceResult::Done;
  if (GetLastError() == ERROR_ACCESS_DENIED) return Lost(window);
  return PlaceByMoving(window, placement.state, outer);
}

bool Win32DesktopWindows::AskToClose(WindowId id) {
  return PostMessageW(HandleOf(id), WM_CLOSE, 0, 0) != FALSE;
}

}  // namespace vantrel::win32
