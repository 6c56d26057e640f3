// How a design meets the screen it is shown on: sizes for the monitor's DPI,
// the place of a window on a monitor's work area, and the colours a control
// paints with. Designs are in pixels at 96 DPI and in the designs' colours;
// at 96 DPI with high contrast off, everything here gives the design back.
#pragma once

#include <cstdint>

#include "platform/form.h"
#include "platform/platform.h"

namespace vantrel {

inline constexpr int kDesignDpi = 96;

// One design length at `dpi`, rounded to the nearest pixel (halves away from zero).
int ScaleToDpi(int value, int dpi);
// A rectangle's edges are scaled, not its size, so controls that touch in the
// design still touch.
Rect ScaleToDpi(const Rect& rect, int dpi);
Font ScaleToDpi(const Font& font, int dpi);

// Top-left corner of a window of this size centred on a work area, and kept
// inside it where it fits.
Point CentreIn(const Rect& workArea, int width, int height);

// A window's rectangle moved onto a work area where it lies past an edge, and
// made smaller only where it is larger than the area.
Rect KeepInside(const Rect& workArea, Rect window);

// The system's colours (Windows COLORREFs) and whether high contrast is on.
struct SystemColours {
  bool highContrast = false;
  std::uint32_t window = 0xFFFFFF;      // COLOR_WINDOW: edit and list backgrounds
  std::uint32_t windowText = 0x000000;  // COLOR_WINDOWTEXT
  std::uint32_t face = 0xF0F0F0;        // COLOR_BTNFACE: dialog backgrounds
  std::uint32_t faceText = 0x000000;    // COLOR_BTNTEXT
};

struct Colours {
  std::uint32_t background = 0;
  std::uint32_t text = 0;
};

// The form's background and the text of the labels on it.
Colours FormColours(const Form& form, const SystemColours& system);
// A control's background and text. A background and its text always come
// from the same source, the design or the system, so the text shows whatever
// scheme the user runs.
Colours ControlColours(const Form& form, const Control& control, const SystemColours& system);

}  // namespace vantrel
