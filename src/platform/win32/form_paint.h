// How a form looks: its fonts, its colours and the drawing of the controls it
// paints itself (buttons with a picture, images). The window asks here and
// draws nothing of its own.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "platform/display.h"
#include "platform/form.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

// Keys of the block between the letters and the number pad, named apart
// from the pad's keys of the same code.
bool ExtendedKey(int virtualKey);

class FormPainter {
 public:
  explicit FormPainter(const Form& form) : form_(form) {}

  // The DPI the window is shown at: sizes and fonts follow it.
  void SetDpi(int dpi) { dpi_ = dpi; }
  int Dpi() const { return dpi_; }
  int Scaled(int designLength) const { return ScaleToDpi(designLength, dpi_); }
  // Reads the system's colours, its high-contrast switch and its app mode again.
  void RefreshColours();
  ColourScheme Scheme() const { return ChooseScheme(colours_); }

  // The design's font at the window's DPI: one font object per face and
  // height, for the window's life.
  HFONT FontFor(const Font& font);
  // WM_ERASEBKGND: the form's own colour.
  void EraseBackground(HWND window, HDC dc);
  // WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT and WM_CTLCOLORLISTBOX: the control's
  // background brush, or null to leave it to the system.
  HBRUSH ControlColours(HDC dc, const Control& control, bool editMessage);
  // WM_DRAWITEM for a button with a picture or an image; appIcon is what
  // Glyph::AppIcon shows.
  void DrawItem(const DRAWITEMSTRUCT& item, const Control& control, HICON appIcon);
  // NM_CUSTOMDRAW of a standard push button: drawn here, as the owner-drawn
  // ones are, wherever the system's own drawing would not take the rule's
  // colours; the system draws it in the designs' scheme.
  LRESULT CustomDrawButton(const NMCUSTOMDRAW& draw, const Control& control);
  // A hot-key box: the system's draws its key in the system's window pair and
  // knows no Win key, so it is drawn here wherever the rule's colours differ
  // or the key holds Win: background, the key as the system's box names it
  // and the caret after it. False leaves it to the system.
  bool DrawsHotKey(const Control& control, const KeyCombo& key) const;
  void DrawHotKey(HWND box, HDC dc, const Control& control, const KeyCombo& key);
  // Its border in dark mode (WM_NCPAINT); false leaves it to the system.
  bool DrawHotKeyEdge(HWND box, const Control& control);

 private:
  HBRUSH BrushFor(COLORREF color);
  void DrawButton(const DRAWITEMSTRUCT& item, const Control& control, HICON appIcon);
  // A button's outline (when it is the default or focused) and face; `r`
  // becomes the rectangle inside the outline.
  void DrawButtonFace(HDC dc, RECT& r, const Control& control, bool pushed, bool outlined);

  const Form& form_;
  int dpi_ = kDesignDpi;
  SystemColours colours_;
  std::map<std::pair<std::string, int>, GdiObject<HFONT>> fonts_;
  std::map<COLORREF, GdiObject<HBRUSH>> brushes_;
};

}  // namespace vantrel::win32
