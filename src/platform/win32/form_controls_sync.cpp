// What the user did pulled from a form's controls into its model, and what a
// handler changed pushed back to the windows.
#include "platform/win32/form_controls.h"

namespace vantrel::win32 {
namespace {

std::string WindowText(HWND hwnd) {
  int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  int got = GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
  return text;
}

// The hot-key box takes HOTKEYF_ flags (see FromHotKeyBox); the Windows key
// stays beside it.
WPARAM ToHotKeyBox(const KeyCombo& combo) {
  BYTE flags = 0;
  if (combo.modifiers & kKeyShift) flags |= HOTKEYF_SHIFT;
  if (combo.modifiers & kKeyControl) flags |= HOTKEYF_CONTROL;
  if (combo.modifiers & kKeyAlt) flags |= HOTKEYF_ALT;
  if (ExtendedKey(combo.key)) flags |= HOTKEYF_EXT;
  return MAKEWORD(static_cast<BYTE>(combo.key), flags);
}

}  // namespace

void FormControls::Pull() {
  for (Shown& s : shown_) {
    Control& c = *s.control;
    if (c.kind == ControlKind::Edit || c.kind == ControlKind::Memo) {
      c.text = WindowText(s.hwnd);
      s.text = c.text;
    } else if (c.kind == ControlKind::ListBox) {
      LRESULT selected = SendMessageA(s.hwnd, LB_GETCURSEL, 0, 0);
      c.selected = selected == LB_ERR ? -1 : static_cast<int>(selected);
      s.selected = c.selected;
    } else if (c.kind == ControlKind::HotKey) {
      c.hotKey = BoxKey(s);
      s.hotKey = c.hotKey;
    } else if (c.kind == ControlKind::CheckBox) {
      c.checked = SendMessageA(s.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
      s.checked = c.checked;
    }
  }
}

void FormControls::Push(bool everything) {
  for (Shown& s : shown_) {
    Control& c = *s.control;
    switch (c.kind) {
      case ControlKind::Label:
      case ControlKind::Button:
      case ControlKind::Image:
      case ControlKind::CheckBox:
        if (everything || c.caption != s.caption) {
          SetWindowTextA(s.hwnd, c.caption.c_str());
          if (s.ownerDraw) InvalidateRect(s.hwnd, nullptr, TRUE);
          s.caption = c.caption;
        }
        if (c.kind == ControlKind::CheckBox && (everything || c.checked != s.checked)) {
          SendMessageA(s.hwnd, BM_SETCHECK, c.checked ? BST_CHECKED : BST_UNCHECKED, 0);
          s.checked = c.checked;
        }
        break;
      case ControlKind::Edit:
      case ControlKind::Memo:
        if (everything || c.text != s.text) {
          SetWindowTextA(s.hwnd,
                         c.kind == ControlKind::Memo ? WithCrLf(c.text).c_str() : c.text.c_str());
          s.text = c.text;
        }
        break;
      case ControlKind::ListBox: {
        bool itemsChanged = everything || c.items != s.items;
        if (itemsChanged) {
          SendMessageA(s.hwnd, WM_SETREDRAW, FALSE, 0);
          SendMessageA(s.hwnd, LB_RESETCONTENT, 0, 0);
          for (const std::string& item : c.items)
            SendMessageA(s.hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
          SendMessageA(s.hwnd, WM_SETREDRAW, TRUE, 0);
          InvalidateRect(s.hwnd, nullptr, TRUE);
          s.items = c.items;
        }
        if (itemsChanged || c.selected != s.selected) {
          SendMessageA(s.hwnd, LB_SETCURSEL, static_cast<WPARAM>(c.selected), 0);
          s.selected = c.selected;
        }
        break;
      }
      case ControlKind::HotKey:
        if (everything || !(c.hotKey == s.hotKey)) {
          SendMessageA(s.hwnd, HKM_SETHOTKEY, ToHotKeyBox(c.hotKey), 0);
          s.hotKey = c.hotKey;
          s.winKey = (c.hotKey.modifiers & kKeyWin) != 0;
        }
        break;
    }
    if (everything || c.visible != s.visible) {
      ShowWindow(s.hwnd, c.visible ? SW_SHOWNA : SW_HIDE);
      s.visible = c.visible;
    }
    if (everything || c.enabled != s.enabled) {
      // A control disabled under the keyboard's focus would keep it, and Tab with it.
      if (!c.enabled && GetFocus() == s.hwnd)
        SetFocus(GetNextDlgTabItem(GetParent(s.hwnd), s.hwnd, FALSE));
      EnableWindow(s.hwnd, c.enabled ? TRUE : FALSE);
      s.enabled = c.enabled;
    }
  }
}

}  // namespace vantrel::win32
