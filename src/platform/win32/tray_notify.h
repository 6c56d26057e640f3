// The icon's notifications as the program understands them. The icon speaks
// the shell's version 4 protocol, so the keyboard reaches it too: Enter or
// Space on the icon (NIN_KEYSELECT) opens what a left press opens, Shift+F10
// or the menu key (WM_CONTEXTMENU) what a right press opens. Mouse presses
// keep their own messages.
#pragma once

#include "platform/win32/win32_api.h"

#include <optional>

#include "platform/form.h"

namespace vantrel::win32 {

struct TrayEvent {
  long message = 0;             // the mouse message the program acts on
  std::optional<Point> anchor;  // the icon's place, for the keyboard's menus
};

class TrayNotifications {
 public:
  // Nothing when the notification must be dropped.
  std::optional<TrayEvent> Decode(WPARAM wParam, LPARAM lParam, bool menuOpen);

 private:
  // A right press is followed by WM_CONTEXTMENU; the press already opened its menu.
  bool rightPressed_ = false;
};

}  // namespace vantrel::win32
