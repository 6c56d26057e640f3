// MessageBoxA centred on the screen, with Escape answering No.
#include "platform/win32/message_box.h"

#include "platform/win32/monitors.h"

#include <cstring>

#include "platform/win32/handles.h"

namespace vantrel::win32 {
namespace {

const char kOldProcProp[] = "VantrelBoxProc";
const char kYesNoProp[] = "VantrelBoxYesNo";

LRESULT CALLBACK BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto oldProc = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kOldProcProp));
  switch (message) {
    case WM_INITDIALOG: {
      LRESULT result = CallWindowProcA(oldProc, hwnd, message, wParam, lParam);
      // Centred where the user is working: the monitor under the cursor.
      RECT box;
      GetWindowRect(hwnd, &box);
      const Point at = CentreIn(CursorMonitor().work, box.right - box.left, box.bottom - box.top);
      SetWindowPos(hwnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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

// Watches this thread's window creation from the call until the box's window
// is made, then subclasses the box and unhooks itself. A box opened while
// another shows (the tray keeps working) gets a hook of its own; the hook
// procedure finds the innermost through the current watch (one for the
// program: its windows all live on one thread).
class BoxWatch {
 public:
  explicit BoxWatch(bool yesNo) : yesNo_(yesNo), outer_(current_) {
    current_ = this;
    hook_.reset(SetWindowsHookExA(WH_CBT, &BoxWatch::OnCbt, nullptr, GetCurrentThreadId()));
  }
  ~BoxWatch() { current_ = outer_; }
  BoxWatch(const BoxWatch&) = delete;
  BoxWatch& operator=(const BoxWatch&) = delete;

 private:
  static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam) {
    BoxWatch* watch = current_;
    HHOOK hook = watch != nullptr ? watch->hook_.get() : nullptr;
    if (code == HCBT_CREATEWND && hook != nullptr) {
      auto hwnd = reinterpret_cast<HWND>(wParam);
      char className[16] = {};
      GetClassNameA(hwnd, className, sizeof className);
      if (std::strcmp(className, "#32770") == 0 &&
          (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) == 0) {
        SetPropA(hwnd, kOldProcProp,
                 reinterpret_cast<HANDLE>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)));
        if (watch->yesNo_) SetPropA(hwnd, kYesNoProp, reinterpret_cast<HANDLE>(1));
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BoxProc));
        watch->hook_.reset();
      }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
  }

  OwnedHook hook_;
  bool yesNo_;
  BoxWatch* outer_;
  static BoxWatch* current_;
};

BoxWatch* BoxWatch::current_ = nullptr;

}  // namespace

int ShowMessageBox(HWND owner, const std::string& text, const char* caption, UINT type) {
  BoxWatch watch((type & MB_TYPEMASK) == MB_YESNO);
  return MessageBoxA(owner, text.c_str(), caption, type | MB_SETFOREGROUND);
}

}  // namespace vantrel::win32
