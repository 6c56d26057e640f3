// The tray icon's notifications decoded, the keyboard's included.
#include "platform/win32/tray_notify.h"

namespace vantrel::win32 {

std::optional<TrayEvent> TrayNotifications::Decode(WPARAM wParam, LPARAM lParam, bool menuOpen) {
  const UINT event = LOWORD(lParam);
  const Point anchor{static_cast<short>(LOWORD(wParam)), static_cast<short>(HIWORD(wParam))};
  switch (event) {
    case WM_RBUTTONDOWN:
      rightPressed_ = true;
      return TrayEvent{WM_RBUTTONDOWN, std::nullopt};
    case WM_CONTEXTMENU:
      if (rightPressed_) {
        rightPressed_ = false;
        return std::nullopt;
      }
      if (menuOpen) return std::nullopt;
      return TrayEvent{WM_RBUTTONDOWN, anchor};
    case NIN_KEYSELECT:
      // Some shells send it twice for one key; the second finds the menu open.
      if (menuOpen) return std::nullopt;
      return TrayEvent{WM_LBUTTONDOWN, anchor};
    default:
      if (event != WM_RBUTTONUP && event != WM_MOUSEMOVE) rightPressed_ = false;
      return TrayEvent{static_cast<long>(event), std::nullopt};
  }
}

}  // namespace vantrel::win32
