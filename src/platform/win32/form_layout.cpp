#include "platform/win32/form_layout.h"

#include "platform/display.h"

namespace vantrel::win32 {

SIZE WindowSize(const Form& form, DWORD style, DWORD exStyle, int dpi) {
  return FrameSizeAt(ScaleToDpi(form.clientWidth, dpi), ScaleToDpi(form.clientHeight, dpi), style,
                     exStyle, dpi);
}

Placement WindowPlacement(const Form& form, DWORD style, DWORD exStyle, int dpi,
                          const MonitorArea& monitor) {
  const SIZE size = WindowSize(form, style, exStyle, dpi);
  Point at{monitor.whole.left + ScaleToDpi(form.left, dpi),
           monitor.whole.top + ScaleToDpi(form.top, dpi)};
  if (form.position == FormPosition::ScreenCenter) at = CentreIn(monitor.work, size.cx, size.cy);
  // A design scaled up for the monitor may no longer fit where it was placed.
  const Rect r = KeepInside(monitor.work, {at.x, at.y, size.cx, size.cy});
  return {r.left, r.top, r.width, r.height};
}

Placement ControlPlacement(const Control& control, int dpi) {
  const Rect r = ScaleToDpi(control.rect, dpi);
  return {r.left, r.top, r.width, r.height};
}

}  // namespace vantrel::win32
