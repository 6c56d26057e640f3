// The screen a window opens on: the monitor under the cursor (where the user
// clicked the tray), its work area and DPI, and the system's colours. The
// per-monitor DPI functions are looked up at run time: older Windows lacks them
// and then everything is at the system's DPI.
#pragma once

#include "platform/win32/win32_api.h"

#include "platform/display.h"

namespace vantrel::win32 {

struct MonitorArea {
  Rect whole;
  Rect work;  // without the taskbar
};
// The monitor under the cursor.
MonitorArea CursorMonitor();
// The DPI a window is shown at (its monitor's, for a per-monitor aware program).
int WindowDpi(HWND window);
// GetSystemMetrics at a DPI.
int SystemMetricAt(int index, int dpi);
// The outer size of a window whose client area is width x height at `dpi`.
SIZE FrameSizeAt(int width, int height, DWORD style, DWORD exStyle, int dpi);
SystemColours CurrentSystemColours();

}  // namespace vantrel::win32
