// The least a tray program can do, as the yardstick for vantrel.exe: a hidden
// window of class "VantrelMinimalTray", one icon with the same callback
// message, and nothing else. With --menu, a left press (513) pops a fixed
// 24-item menu the way vantrel.exe pops its left menu (same flags, the
// foreground first). Ends when its window is closed, taking its icon away.
//
// bench_tray_minimal.exe [--menu]
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>

namespace {

constexpr UINT kTrayCallback = WM_USER + 10;
constexpr char kClass[] = "VantrelMinimalTray";

bool g_withMenu = false;
HMENU g_menu = nullptr;
NOTIFYICONDATAA g_icon{};

// Twenty empty title rows and four commands, as vantrel's left menu on a first run.
HMENU BuildMenu() {
  static const char* const kCommands[] = {"&Edit Your List", "&Disable Screensaver",
                                          "E&nable Password", "&Activate Screensaver"};
  HMENU menu = CreatePopupMenu();
  for (UINT i = 0; i < 24; ++i) {
    std::string text = i < 20 ? "" : kCommands[i - 20];
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_STATE;
    item.fType = MFT_STRING;
    item.fState = MFS_ENABLED;
    item.wID = i + 1;
    item.dwTypeData = text.data();
    item.cch = static_cast<UINT>(text.size());
    InsertMenuItemA(menu, i, TRUE, &item);
  }
  return menu;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kTrayCallback:
      if (g_withMenu && lParam == WM_LBUTTONDOWN) {
        POINT at{};
        GetCursorPos(&at);
        SetForegroundWindow(hwnd);
        TrackPopupMenu(g_menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0,
                       hwnd, nullptr);
        PostMessageA(hwnd, WM_NULL, 0, 0);
      }
      return 0;
    case WM_CLOSE:
      Shell_NotifyIconA(NIM_DELETE, &g_icon);
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--menu") == 0) g_withMenu = true;

  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClass;
  RegisterClassExA(&wc);
  HWND window = CreateWindowExA(0, kClass, "Minimal tray", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 200, 100, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  if (g_withMenu) g_menu = BuildMenu();

  g_icon.cbSize = sizeof g_icon;
  g_icon.hWnd = window;
  g_icon.uID = 0;
  g_icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  g_icon.uCallbackMessage = kTrayCallback;
  g_icon.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  std::strncpy(g_icon.szTip, "Minimal tray", sizeof g_icon.szTip - 1);
  Shell_NotifyIconA(NIM_ADD, &g_icon);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (g_menu != nullptr) DestroyMenu(g_menu);
  return 0;
}
