// The cursor's monitor, DPI functions and system colours.
#include "platform/win32/monitors.h"

#include "platform/win32/dark_mode.h"

namespace vantrel::win32 {
namespace {

struct DpiFunctions {
  UINT(WINAPI* dpiForWindow)(HWND) = nullptr;
  int(WINAPI* metricForDpi)(int, UINT) = nullptr;
  BOOL(WINAPI* adjustForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
};

template <typename F>
void Resolve(HMODULE dll, const char* name, F& function) {
  function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

const DpiFunctions& Dpi() {
  static const DpiFunctions functions = [] {
    DpiFunctions f;
    if (HMODULE user32 = GetModuleHandleA("user32.dll")) {
      Resolve(user32, "GetDpiForWindow", f.dpiForWindow);
      Resolve(user32, "GetSystemMetricsForDpi", f.metricForDpi);
      Resolve(user32, "AdjustWindowRectExForDpi", f.adjustForDpi);
    }
    return f;
  }();
  return functions;
}

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace

MonitorArea CursorMonitor() {
  POINT cursor{};
  GetCursorPos(&cursor);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &info)) {
    info.rcMonitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  }
  auto toRect = [](const RECT& r) { return Rect{r.left, r.top, r.right - r.left, r.bottom - r.top}; };
  return {toRect(info.rcMonitor), toRect(info.rcWork)};
}

int WindowDpi(HWND window) {
  if (Dpi().dpiForWindow != nullptr && window != nullptr) {
    const UINT dpi = Dpi().dpiForWindow(window);
    if (dpi != 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

int SystemMetricAt(int index, int dpi) {
  if (Dpi().metricForDpi != nullptr) return Dpi().metricForDpi(index, static_cast<UINT>(dpi));
  return GetSystemMetrics(index);
}

SIZE FrameSizeAt(int width, int height, DWORD style, DWORD exStyle, int dpi) {
  RECT frame{0, 0, width, height};
  if (Dpi().adjustForDpi == nullptr ||
      !Dpi().adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

SystemColours CurrentSystemColours() {
  SystemColours colours;
  HIGHCONTRASTA contrast{};
  contrast.cbSize = sizeof contrast;
  colours.highContrast = SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
  colours.window = GetSysColor(COLOR_WINDOW);
  colours.windowText = GetSysColor(COLOR_WINDOWTEXT);
  colours.face = GetSysColor(COLOR_BTNFACE);
  colours.faceText = GetSysColor(COLOR_BTNTEXT);
  colours.grayText = GetSysColor(COLOR_GRAYTEXT);
  colours.darkApps = AppsUseDarkMode();
  return colours;
}

}  // namespace vantrel::win32
