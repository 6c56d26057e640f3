// A form's controls made as child windows, found again by window or id, and
// placed again at a new DPI.
#include "platform/win32/form_controls.h"

#include <algorithm>
#include <deque>

#include "platform/errors.h"

namespace vantrel::win32 {

void FormControls::Create(HWND parent, HINSTANCE instance, const FittedForm& fitted) {
  HWND tooltip = nullptr;
  bool anyHint = std::any_of(form_.Controls().begin(), form_.Controls().end(),
                             [](const Control& c) { return !c.hint.empty(); });
  if (anyHint) {
    // Owned by the form's window, which takes it along when it goes.
    tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, instance, nullptr);
    SendMessageA(tooltip, TTM_SETMAXTIPWIDTH, 0, painter_.Scaled(400));
  }

  // Screen readers name a list or box by the label just before it in the
  // window order; labels are no tab stops, so the tab order stays.
  // In tab order, ties in form order: each control goes after every one with
  // the same or a lower key (a few dozen controls; no sort's code for them).
  std::deque<Control>& controls = form_.Controls();
  auto tabKey = [](const Control& c) { return c.tabOrder < 0 ? 1 << 20 : c.tabOrder; };
  std::vector<std::size_t> byTab;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    auto after = std::find_if(byTab.begin(), byTab.end(), [&](std::size_t j) {
      return tabKey(controls[i]) < tabKey(controls[j]);
    });
    byTab.insert(after, i);
  }
  std::vector<std::size_t> order;
  auto placed = [&order](std::size_t i) {
    return std::find(order.begin(), order.end(), i) != order.end();
  };
  for (std::size_t i : byTab) {
    if (placed(i)) continue;
    const ControlKind kind = controls[i].kind;
    const bool named =
        kind == ControlKind::ListBox || kind == ControlKind::Edit || kind == ControlKind::Memo ||
        kind == ControlKind::HotKey;
    if (named && i > 0 && controls[i - 1].kind == ControlKind::Label && !placed(i - 1))
      order.push_back(i - 1);
    order.push_back(i);
  }
  shown_.reserve(order.size());
  for (std::size_t i : order)
    CreateControl(controls[i], i, fitted.controls[i], parent, instance, tooltip);
  tooltip_ = tooltip;
  Push(true);
}

void FormControls::CreateControl(Control& c, std::size_t index, const Rect& at, HWND parent,
                                 HINSTANCE instance, HWND tooltip) {
  const char* windowClass = "STATIC";
  DWORD style = WS_CHILD;
  DWORD exStyle = 0;
  bool ownerDraw = false;
  if (c.tabOrder >= 0) style |= WS_TABSTOP;
  switch (c.kind) {
    case ControlKind::Label:
      style |= SS_LEFT | SS_NOTIFY;
      if (!c.wordWrap) style |= SS_LEFTNOWORDWRAP;
      break;
    case ControlKind::Button:
      windowClass = "BUTTON";
      ownerDraw = c.glyph != Glyph::None;
      if (ownerDraw)
        style |= BS_OWNERDRAW;
      else
        style |= c.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
      break;
    case ControlKind::CheckBox:
      windowClass = "BUTTON";
      style |= BS_AUTOCHECKBOX;
      break;
    case ControlKind::Edit:
      windowClass = "EDIT";
      exStyle = WS_EX_CLIENTEDGE;
      style |= ES_AUTOHSCROLL | ES_LEFT;
      if (c.readOnly) style |= ES_READONLY;
      break;
    case ControlKind::Memo:
      windowClass = "EDIT";
      exStyle = WS_EX_CLIENTEDGE;
      style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_LEFT;
      if (c.vScroll) style |= WS_VSCROLL;
      if (c.readOnly) style |= ES_READONLY;
      break;
    case ControlKind::ListBox:
      windowClass = "LISTBOX";
      exStyle = WS_EX_CLIENTEDGE;
      style |= LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT;
      break;
    case ControlKind::Image:
      style |= SS_OWNERDRAW;
      ownerDraw = true;
      break;
    case ControlKind::HotKey:
      windowClass = HOTKEY_CLASSA;
      exStyle = WS_EX_CLIENTEDGE;
      break;
  }
  // An edit box made as a Unicode window holds UTF-16, so its length limit
  // counts characters; an ANSI one would count the bytes of their UTF-8.
  HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id));
  HWND hwnd = c.kind == ControlKind::Edit
                  ? CreateWindowExW(exStyle, L"EDIT", L"", style, at.left, at.top, at.width,
                                    at.height, parent, id, instance, nullptr)
                  : CreateWindowExA(exStyle, windowClass, "", style, at.left, at.top, at.width,
                                    at.height, parent, id, instance, nullptr);
  if (hwnd == nullptr) throw VantrelError("Error creating control " + c.name);
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(painter_.FontFor(c.font)), FALSE);
  if (c.kind == ControlKind::Edit && c.maxLength > 0)
    SendMessageA(hwnd, EM_LIMITTEXT, c.maxLength, 0);
  // A key alone, or with Shift alone, would take that key from every program:
  // the box makes such a press Ctrl+Alt with the key, as AsShortcutKey does
  // for the key it returns. Its subclass keeps Win and draws what the box cannot.
  if (c.kind == ControlKind::HotKey) {
    SendMessageA(hwnd, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                 MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    SetPropA(hwnd, kControlsProp, this);
    SetPropA(hwnd, kOldProcProp, reinterpret_cast<HANDLE>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)));
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormControls::HotKeyBoxProc));
  }
  if (c.kind == ControlKind::ListBox) {
    if (c.itemHeight > 0) SendMessageA(hwnd, LB_SETITEMHEIGHT, 0, painter_.Scaled(c.itemHeight));
    SetPropA(hwnd, kOldProcProp, reinterpret_cast<HANDLE>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)));
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormControls::ListBoxProc));
  }
  if (tooltip != nullptr && !c.hint.empty()) {
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = parent;
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
    tool.lpszText = c.hint.data();
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  Shown shown;
  shown.control = &c;
  shown.index = index;
  shown.hwnd = hwnd;
  shown.ownerDraw = ownerDraw;
  shown.visible = false;
  shown_.push_back(std::move(shown));
}

FormControls::Shown* FormControls::ShownOf(const Control& control) {
  for (Shown& s : shown_)
    if (s.control == &control) return &s;
  return nullptr;
}

FormControls::Shown* FormControls::ShownOf(HWND hwnd) {
  for (Shown& s : shown_)
    if (s.hwnd == hwnd) return &s;
  return nullptr;
}

Control* FormControls::Find(HWND hwnd) {
  Shown* s = ShownOf(hwnd);
  return s != nullptr ? s->control : nullptr;
}

Control* FormControls::Find(int id) {
  for (Shown& s : shown_)
    if (s.control->id == id) return s.control;
  return nullptr;
}

HWND FormControls::WindowOf(const Control& control) {
  Shown* s = ShownOf(control);
  return s != nullptr ? s->hwnd : nullptr;
}

void FormControls::Focus(const Control& control, bool showing) {
  HWND hwnd = WindowOf(control);
  if (hwnd == nullptr) return;
  SetFocus(hwnd);
  if (control.kind == ControlKind::Edit) SendMessageA(hwnd, EM_SETSEL, 0, -1);
  if (control.kind == ControlKind::Memo && showing) {
    SendMessageA(hwnd, EM_SETSEL, 0, 0);
    SendMessageA(hwnd, EM_SCROLLCARET, 0, 0);
  }
}

void FormControls::Relayout(const FittedForm& fitted) {
  for (Shown& s : shown_) {
    const Control& c = *s.control;
    const Rect& at = fitted.controls[s.index];
    SetWindowPos(s.hwnd, nullptr, at.left, at.top, at.width, at.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(s.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(painter_.FontFor(c.font)), FALSE);
    if (c.kind == ControlKind::ListBox && c.itemHeight > 0)
      SendMessageA(s.hwnd, LB_SETITEMHEIGHT, 0, painter_.Scaled(c.itemHeight));
  }
  if (tooltip_ != nullptr) SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, painter_.Scaled(400));
}

}  // namespace vantrel::win32
