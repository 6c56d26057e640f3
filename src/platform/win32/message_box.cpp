#include "platform/win32/message_box.h"

#include <cstring>

namespace vantrel::win32 {
namespace {

const char kOldProcProp[] = "VantrelBoxProc";
const char kYesNoProp[] = "VantrelBoxYesNo";

// The hook lives only from the call until the box's window is created, so a
// box opened while another is showing (the tray keeps working) gets its own.
HHOOK g_hook = nullptr;
bool g_pendingYesNo = false;

LRESULT CALLBACK BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto oldProc = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kOldProcProp));
  switch (message) {
    case WM_INITDIALOG: {
      LRESULT result = CallWindowProcA(oldProc, hwnd, message, wParam, lParam);
      RECT box;
      RECT work;
      GetWindowRect(hwnd, &box);
      SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
      int width = box.right - box.left;
      int height = box.bottom - box.top;
      SetWindowPos(hwnd, nullptr, work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return result;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL && GetPropA(hwnd, kYesNoProp) != nullptr)
        return CallWindowProcA(oldProc, hwnd, message, MAKEWPARAM(IDNO, BN_CLICKED),
                               reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDNO)));
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc));
      RemovePropA(hwnd, kOldProcProp);
      RemovePropA(hwnd, kYesNoProp);
      break;
    default:
      break;
  }
  return CallWindowProcA(oldProc, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CreateHook(int code, WPARAM wParam, LPARAM lParam) {
  HHOOK hook = g_hook;
  if (code == HCBT_CREATEWND) {
    auto hwnd = reinterpret_cast<HWND>(wParam);
    char className[16] = {};
    GetClassNameA(hwnd, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0 && (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) == 0) {
      SetPropA(hwnd, kOldProcProp, reinterpret_cast<HANDLE>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)));
      if (g_pendingYesNo) SetPropA(hwnd, kYesNoProp, reinterpret_cast<HANDLE>(1));
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BoxProc));
      UnhookWindowsHookEx(g_hook);
      g_hook = nullptr;
    }
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

int ShowMessageBox(HWND owner, const std::string& text, const char* caption, UINT type) {
  g_pendingYesNo = (type & MB_TYPEMASK) == MB_YESNO;
  g_hook = SetWindowsHookExA(WH_CBT, &CreateHook, nullptr, GetCurrentThreadId());
  int result = MessageBoxA(owner, text.c_str(), caption, type | MB_SETFOREGROUND);
  if (g_hook != nullptr) {  // the box never came up
    UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
  }
  return result;
}

}  // namespace vantrel::win32
