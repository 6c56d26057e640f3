// Where a form's window and its controls go on the screen: the one place that
// turns the design's rectangles into window rectangles.
#pragma once

#include "platform/form.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

struct Placement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The window's outer rectangle for the design's client size and position, in
// the frame that the style gives it.
Placement WindowPlacement(const Form& form, DWORD style, DWORD exStyle);
// A control's rectangle in its window's client area.
Placement ControlPlacement(const Control& control);

}  // namespace vantrel::win32
