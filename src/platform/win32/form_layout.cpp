// Where a form's window and its controls go, at its monitor's DPI.
#include "platform/win32/form_layout.h"

namespace vantrel::win32 {

FittedForm FitForm(const Form& form, FormPainter& painter) {
  std::vector<TextSize> texts(form.Controls().size());
  HDC dc = GetDC(nullptr);
  std::size_t i = 0;
  for (const Control& c : form.Controls()) {
    RECT need{0, 0, ScaleToDpi(c.rect, painter.Dpi()).width, 0};
    const bool measured = c.kind == ControlKind::Label || c.kind == ControlKind::Button;
    if (measured && !c.caption.empty()) {
      // As the label or the button draws it: a wrapping label breaks at its width.
      Selection font(dc, painter.FontFor(c.font));
      const UINT lines = c.kind == ControlKind::Label && c.wordWrap ? DT_WORDBREAK : DT_SINGLELINE;
      DrawTextA(dc, c.caption.c_str(), -1, &need, DT_CALCRECT | DT_EXPANDTABS | lines);
    }
    texts[i++] = {measured ? static_cast<int>(need.right) : 0, static_cast<int>(need.bottom)};
  }
  ReleaseDC(nullptr, dc);
  return FitToText(form, painter.Dpi(), texts);
}

SIZE WindowSize(const FittedForm& fitted, DWORD style, DWORD exStyle, int dpi) {
  return FrameSizeAt(fitted.clientWidth, fitted.clientHeight, style, exStyle, dpi);
}

Placement WindowPlacement(const Form& form, const FittedForm& fitted, DWORD style, DWORD exStyle,
                          int dpi, const MonitorArea& monitor) {
  const SIZE size = WindowSize(fitted, style, exStyle, dpi);
  Point at{monitor.whole.left + ScaleToDpi(form.left, dpi),
           monitor.whole.top + ScaleToDpi(form.top, dpi)};
  if (form.position == FormPosition::ScreenCenter) at = CentreIn(monitor.work, size.cx, size.cy);
  // A design scaled up for the monitor may no longer fit where it was placed.
  const Rect r = KeepInside(monitor.work, {at.x, at.y, size.cx, size.cy});
  return {r.left, r.top, r.width, r.height};
}

}  // namespace vantrel::win32
