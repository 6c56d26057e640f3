// What the generic renderer's window does with each message: painting and
// colours, DPI changes, commands of its controls, focus and closing.
#include "platform/win32/form_window.h"

#include "platform/dialog_behaviour.h"
#include "platform/win32/session.h"

namespace vantrel::win32 {

// The user switched schemes, high contrast or the app mode ("ImmersiveColorSet"):
// paint with the new colours.
void FormWindow::OnColoursChanged() {
  painter_.RefreshColours();
  UseScheme();
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

// Moved to a monitor of another DPI: laid out again at its size, where the
// system suggests.
void FormWindow::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
  painter_.SetDpi(HIWORD(wParam));
  const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
  SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Relayout();
}

// A dialog goes down with the window it sits on, whose taskbar button brings
// both back; alone it would leave that window disabled. True when done here.
bool FormWindow::OnMinimize() {
  if (form_.taskbarButton) return false;
  HWND top = hwnd_;
  for (HWND owner = GetWindow(top, GW_OWNER); owner != nullptr && IsWindowVisible(owner);
       owner = GetWindow(owner, GW_OWNER))
    top = owner;
  if (top == hwnd_) return false;
  ShowWindow(top, SW_MINIMIZE);
  return true;
}

// WM_CTLCOLOR*: the control's brush, or null to leave it to the system.
HBRUSH FormWindow::ControlBrush(UINT message, WPARAM wParam, LPARAM lParam) {
  const Control* c = controls_.Find(reinterpret_cast<HWND>(lParam));
  return c == nullptr ? nullptr
                      : painter_.ControlColours(reinterpret_cast<HDC>(wParam), *c,
                                                message == WM_CTLCOLOREDIT);
}

void FormWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
  const Control* c = controls_.Find(item.hwndItem);
  if (c == nullptr) return;
  HICON appIcon = bigIcon_ != nullptr
                      ? bigIcon_
                      : static_cast<HICON>(LoadImageA(session_.instance, MAKEINTRESOURCEA(1),
                                                      IMAGE_ICON, 32, 32, LR_SHARED));
  painter_.DrawItem(item, *c, appIcon);
}

void FormWindow::OnCommand(WPARAM wParam) {
  const int code = HIWORD(wParam);
  Control* c = controls_.Find(LOWORD(wParam));
  if (c == nullptr) return;  // IDOK / IDCANCEL without a button of that id
  if (c->kind == ControlKind::Button && (code == BN_CLICKED || code == BN_DOUBLECLICKED))
    ClickControl(*c);
  else if (c->kind == ControlKind::CheckBox && code == BN_CLICKED)
    ClickControl(*c);
  else if (c->kind == ControlKind::ListBox && code == LBN_SELCHANGE)
    Run([&] { ClickLine(*c, reporter_); });
  else if (c->kind == ControlKind::ListBox && code == LBN_DBLCLK)
    PostMessageA(hwnd_, kListOpen, static_cast<WPARAM>(c->id), 0);
}

// Sent by a multi-line edit for Tab; a plain window must move the focus itself.
void FormWindow::OnNextControl(WPARAM wParam, LPARAM lParam) {
  HWND next = LOWORD(lParam) != 0
                  ? reinterpret_cast<HWND>(wParam)
                  : GetNextDlgTabItem(hwnd_, GetFocus(), wParam != 0 ? TRUE : FALSE);
  if (next == nullptr) return;
  if (const Control* c = controls_.Find(next))
    controls_.Focus(*c, false);
  else
    SetFocus(next);
}

// A plain window forgets its focused control when a message box or dialog
// takes over; give it back, as a dialog does. True when done here.
bool FormWindow::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    lastFocus_ = controls_.Find(GetFocus());
    return false;
  }
  const Control* back = FocusAfterBox(lastFocus_);
  HWND hwnd = back != nullptr ? controls_.WindowOf(*back) : nullptr;
  if (hwnd == nullptr || !IsWindowEnabled(hwnd)) return false;
  SetFocus(hwnd);
  return true;
}

void FormWindow::OnClose() {
  Run([&] { CloseByBox(form_, reporter_); });
  form_.Close(kModalCancel);  // also when the pull before the handler failed
}

// A list line's click or opening, posted by the list or by the window itself.
void FormWindow::OnListLine(WPARAM id, bool open) {
  Control* c = controls_.Find(static_cast<int>(id));
  if (c == nullptr) return;
  Run([&] { open ? OpenLine(*c, reporter_) : ClickLine(*c, reporter_); });
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      painter_.EraseBackground(hwnd_, reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      OnColoursChanged();
      break;
    case WM_DPICHANGED:
      OnDpiChanged(wParam, lParam);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MINIMIZE && OnMinimize()) return 0;
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (HBRUSH brush = ControlBrush(message, wParam, lParam))
        return reinterpret_cast<LRESULT>(brush);
      break;
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_NOTIFY: {
      const auto& draw = *reinterpret_cast<const NMCUSTOMDRAW*>(lParam);
      const Control* c = controls_.Find(draw.hdr.hwndFrom);
      if (draw.hdr.code == NM_CUSTOMDRAW && c != nullptr && c->kind == ControlKind::Button)
        return painter_.CustomDrawButton(draw, *c);
      break;
    }
    case DM_GETDEFID:
      if (const Control* c = KeyTarget(form_, DialogKey::Enter, nullptr))
        return MAKELRESULT(c->id, DC_HASDEFID);
      return 0;
    case WM_COMMAND:
      OnCommand(wParam);
      return 0;
    case kListOpen:
    case kListReclick:
      OnListLine(wParam, message == kListOpen);
      return 0;
    case WM_NEXTDLGCTL:
      OnNextControl(wParam, lParam);
      return 0;
    case WM_ACTIVATE:
      if (OnActivate(wParam)) return 0;
      break;
    case WM_ENABLE:
      // A message box or dialog that a handler opens disables this window
      // first: show what the handler has changed so far, not the old state.
      if (wParam == FALSE && !destroyed_) controls_.Push(false);
      break;
    case WM_CLOSE:
      OnClose();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

}  // namespace vantrel::win32
