// Where a form's window and its controls go on the screen: the one place that
// turns the design's rectangles into window rectangles, at the DPI of the
// monitor the window is on and around the texts in the fonts they show in.
#pragma once

#include "platform/display.h"
#include "platform/form.h"
#include "platform/win32/form_paint.h"
#include "platform/win32/monitors.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

struct Placement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The form at the painter's DPI, each control's text measured in the font the
// painter gives it.
FittedForm FitForm(const Form& form, FormPainter& painter);
// The window's outer size for the fitted client size at `dpi`, in the frame
// that the style gives it.
SIZE WindowSize(const FittedForm& fitted, DWORD style, DWORD exStyle, int dpi);
// The window's outer rectangle on a monitor: centred on its work area, or at
// the designed place from the monitor's corner; always inside the work area.
Placement WindowPlacement(const Form& form, const FittedForm& fitted, DWORD style, DWORD exStyle,
                          int dpi, const MonitorArea& monitor);

}  // namespace vantrel::win32
