// The list and hot-key boxes' own window procedures: a click on a list's
// selected line, and a hot-key box that keeps the Windows key and is painted
// in the form's colours where the system's would not be.
#include "platform/win32/form_controls.h"

namespace vantrel::win32 {
namespace {

// A hot-key box speaks in HOTKEYF_ flags, which order Shift, Ctrl and Alt as
// the combination's bits do; the box cannot take the Windows key, which the
// box's subclass keeps beside it.
KeyCombo FromHotKeyBox(LRESULT word) {
  KeyCombo combo;
  combo.key = LOBYTE(LOWORD(word));
  const BYTE flags = HIBYTE(LOWORD(word));
  if (flags & HOTKEYF_SHIFT) combo.modifiers |= kKeyShift;
  if (flags & HOTKEYF_CONTROL) combo.modifiers |= kKeyControl;
  if (flags & HOTKEYF_ALT) combo.modifiers |= kKeyAlt;
  return combo;
}

}  // namespace

LRESULT CALLBACK FormControls::ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto oldProc = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kOldProcProp));
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
    LRESULT before = SendMessageA(hwnd, LB_GETCURSEL, 0, 0);
    LRESULT result = CallWindowProcA(oldProc, hwnd, message, wParam, lParam);
    LRESULT after = SendMessageA(hwnd, LB_GETCURSEL, 0, 0);
    LRESULT hit = SendMessageA(hwnd, LB_ITEMFROMPOINT, 0, lParam);
    if (before == after && before != LB_ERR && HIWORD(hit) == 0 &&
        static_cast<LRESULT>(LOWORD(hit)) == before)
      PostMessageA(GetParent(hwnd), kListReclick, static_cast<WPARAM>(GetDlgCtrlID(hwnd)), 0);
    return result;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc));
    RemovePropA(hwnd, kOldProcProp);
  }
  return CallWindowProcA(oldProc, hwnd, message, wParam, lParam);
}

KeyCombo FormControls::BoxKey(const Shown& s) {
  KeyCombo key = FromHotKeyBox(SendMessageA(s.hwnd, HKM_GETHOTKEY, 0, 0));
  if (s.winKey) key.modifiers |= kKeyWin;
  return key;
}

bool FormControls::PaintHotKey(Shown& s, UINT message, WPARAM wParam) {
  KeyCombo key = BoxKey(s);
  if (!painter_.DrawsHotKey(*s.control, key)) return false;
  if (key.Empty() && GetFocus() == s.hwnd) {
    // Modifiers held without a key yet show as the rule takes them with one.
    unsigned held = 0;
    if (GetKeyState(VK_CONTROL) < 0) held |= kKeyControl;
    if (GetKeyState(VK_SHIFT) < 0) held |= kKeyShift;
    if (GetKeyState(VK_MENU) < 0) held |= kKeyAlt;
    if (held != 0) key.modifiers = AsShortcutKey({VK_SPACE, held}).modifiers;
  }
  if (message == WM_PRINTCLIENT || wParam != 0) {
    painter_.DrawHotKey(s.hwnd, reinterpret_cast<HDC>(wParam), *s.control, key);
    return true;
  }
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(s.hwnd, &paint);
  painter_.DrawHotKey(s.hwnd, dc, *s.control, key);
  EndPaint(s.hwnd, &paint);
  return true;
}

LRESULT CALLBACK FormControls::HotKeyBoxProc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  auto oldProc = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kOldProcProp));
  auto* self = static_cast<FormControls*>(GetPropA(hwnd, kControlsProp));
  Shown* s = self != nullptr ? self->ShownOf(hwnd) : nullptr;
  if (s != nullptr) {
    switch (message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
      case WM_CHAR:
      case WM_SYSCHAR:
      case HKM_SETHOTKEY:
        // Each key starts a new combination in the box, which then holds no Win.
        s->winKey = false;
        break;
      case WM_SETFOCUS: {
        const LRESULT result = CallWindowProcA(oldProc, hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, FALSE);  // the caret goes after the key drawn
        return result;
      }
      case WM_PAINT:
      case WM_PRINTCLIENT:
        if (self->PaintHotKey(*s, message, wParam)) return 0;
        break;
      case WM_NCPAINT:
        if (self->painter_.DrawHotKeyEdge(hwnd, *s->control)) return 0;
        break;
      default:
        break;
    }
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc));
    RemovePropA(hwnd, kOldProcProp);
    RemovePropA(hwnd, kControlsProp);
  }
  return CallWindowProcA(oldProc, hwnd, message, wParam, lParam);
}

}  // namespace vantrel::win32
