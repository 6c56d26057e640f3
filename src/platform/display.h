// How a design meets the screen it is shown on: sizes for the monitor's DPI,
// the place of a window on a monitor's work area, and the colours a control
// paints with. Designs are in pixels at 96 DPI and in the designs' colours;
// at 96 DPI with high contrast and dark mode off, everything here gives the
// design back.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/form.h"

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

// The side of the picture on a button of this height, kept clear of its frame.
int GlyphSide(int buttonHeight, int dpi);
// What a button keeps clear inside each edge, and between its picture and its
// caption.
inline int ButtonEdge(int dpi) { return ScaleToDpi(3, dpi); }
inline int GlyphGap(int dpi) { return ScaleToDpi(4, dpi); }

// The width and height a control's text takes in the font it is drawn with.
struct TextSize {
  int width = 0;
  int height = 0;
};

// A form's controls and client area at one DPI.
struct FittedForm {
  std::vector<Rect> controls;  // in the order of Form::Controls()
  int clientWidth = 0;
  int clientHeight = 0;
};

// The design at `dpi` with every control as large as its text: `texts` holds
// each control's text as measured at that DPI (a wrapping label's broken at
// its scaled width), in the order of Form::Controls(). Text does not grow
// exactly with the DPI, so a label may need more lines and a button more
// width for its picture and caption. What lies below or right of a control
// that grew moves with it, keeping the design's gaps; edges the design lines
// up stay lined up; the window grows by what its narrowest margin needs.
// Where every text fits its scaled rectangle, this is the design scaled.
FittedForm FitToText(const Form& form, int dpi, const std::vector<TextSize>& texts);

// The system's colours (Windows COLORREFs), whether high contrast is on and
// whether Windows' app mode is dark.
struct SystemColours {
  bool highContrast = false;
  std::uint32_t window = 0xFFFFFF;      // COLOR_WINDOW: edit and list backgrounds
  std::uint32_t windowText = 0x000000;  // COLOR_WINDOWTEXT
  std::uint32_t face = 0xF0F0F0;        // COLOR_BTNFACE: dialog backgrounds
  std::uint32_t faceText = 0x000000;    // COLOR_BTNTEXT
  std::uint32_t grayText = 0x6D6D6D;    // COLOR_GRAYTEXT: a disabled button's text
  bool darkApps = false;                // AppsUseLightTheme = 0
};

// Where every control's colours come from: the designs, the system's scheme
// (high contrast, which wins) or the dark palette (Windows' dark app mode).
enum class ColourScheme { Design, System, Dark };
ColourScheme ChooseScheme(const SystemColours& system);

// One dark palette for every window. Each text colour reaches at least 4.5:1
// against the backgrounds it is drawn on.
struct DarkPalette {
  std::uint32_t surface = 0x202020;  // windows and labels
  std::uint32_t box = 0x2B2B2B;      // edit boxes, lists, the help text
  std::uint32_t button = 0x3A3A3A;
  std::uint32_t edge = 0x7A7A7A;  // a button's border
  std::uint32_t text = 0xF0F0F0;
  std::uint32_t grayText = 0xA8A8A8;  // a disabled button's text
};
inline constexpr DarkPalette kDark{};

struct Colours {
  std::uint32_t background = 0;
  std::uint32_t text = 0;
  std::uint32_t disabledText = 0;
};

// The form's background and the text of the labels on it.
Colours FormColours(const Form& form, const SystemColours& system);
// A control's background and text. A background and its text always come
// from the same source, so the text shows whatever scheme the user runs;
// buttons of every kind take the button pair.
Colours ControlColours(const Form& form, const Control& control, const SystemColours& system);

}  // namespace vantrel
