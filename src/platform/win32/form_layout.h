// Where a form's window and its controls go on the screen: the one place that
// turns the design's rectangles into window rectangles, at the DPI of the
// monitor the window is on.
#pragma once

#include "platform/form.h"
#include "platform/win32/monitors.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

struct Placement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The window's outer size for the design's client size at `dpi`, in the frame
// that the style gives it.
SIZE WindowSize(const Form& form, DWORD style, DWORD exStyle, int dpi);
// The window's outer rectangle on a monitor: centred on its work area, or at
// the designed place from the monitor's corner; always inside the work area.
Placement WindowPlacement(const Form& form, DWORD style, DWORD exStyle, int dpi,
                          const MonitorArea& monitor);
// A control's rectangle in its window's client area.
Placement ControlPlacement(const Control& control, int dpi);

}  // namespace vantrel::win32
