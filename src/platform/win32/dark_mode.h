// What the system draws for us in dark mode: title bars, scroll bars and the
// themes of boxes and lists, and the tray menus. Every function behind these
// is looked up at run time and may be missing (older Windows, Wine); then the
// call does nothing and that part stays light.
#pragma once

#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

// Windows' app mode is dark (AppsUseLightTheme = 0).
bool AppsUseDarkMode();
// A top-level window's title bar.
void UseDarkTitleBar(HWND window, bool dark);
// A box's or list's scroll bars and edges; not dark gives the control its
// class's own theme back.
void UseDarkControlTheme(HWND control, bool dark);
// A check box drawn without its theme while dark: a themed one paints its text
// in the theme's colour and ignores the one the window gives.
void UseUnthemedWhileDark(HWND control, bool dark);
// The pop-up menus opened after this call.
void UseDarkMenus(bool dark);

}  // namespace vantrel::win32
