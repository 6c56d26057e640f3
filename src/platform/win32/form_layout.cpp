#include "platform/win32/form_layout.h"

namespace vantrel::win32 {

Placement WindowPlacement(const Form& form, DWORD style, DWORD exStyle) {
  RECT frame{0, 0, form.clientWidth, form.clientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  Placement p{form.left, form.top, frame.right - frame.left, frame.bottom - frame.top};
  if (form.position == FormPosition::ScreenCenter) {
    p.x = (GetSystemMetrics(SM_CXSCREEN) - p.width) / 2;
    p.y = (GetSystemMetrics(SM_CYSCREEN) - p.height) / 2;
  }
  return p;
}

Placement ControlPlacement(const Control& control) {
  return {control.rect.left, control.rect.top, control.rect.width, control.rect.height};
}

}  // namespace vantrel::win32
