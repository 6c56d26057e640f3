#include "platform/win32/form_window.h"

#include <algorithm>
#include <set>

#include "platform/dialog_behaviour.h"
#include "platform/errors.h"
#include "platform/win32/glyphs.h"
#include "platform/win32/win32_platform.h"

namespace vantrel::win32 {
namespace {

// Posted by a list box when the line already selected is clicked again: the
// list sends no LBN_SELCHANGE then, but the program treats it as a click.
constexpr UINT kListReclick = WM_APP + 1;
const char kListProcProp[] = "VantrelListProc";

void RegisterFormClass(HINSTANCE instance, const std::string& name, WNDPROC proc) {
  static std::set<std::string> registered;
  if (registered.count(name) != 0) return;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = name.c_str();
  if (RegisterClassExA(&wc) != 0) registered.insert(name);
}

// Memo lines may come with bare LF ends; the edit control needs CR LF.
std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

std::string WindowText(HWND hwnd) {
  int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  int got = GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
  return text;
}

struct DisableOthers {
  HWND keep;
  std::vector<HWND>* disabled;
};

BOOL CALLBACK DisableOne(HWND hwnd, LPARAM param) {
  auto* job = reinterpret_cast<DisableOthers*>(param);
  if (hwnd == job->keep || !IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd)) return TRUE;
  char className[32] = {};
  GetClassNameA(hwnd, className, sizeof className);
  if (lstrcmpiA(className, TOOLTIPS_CLASSA) == 0) return TRUE;
  EnableWindow(hwnd, FALSE);
  job->disabled->push_back(hwnd);
  return TRUE;
}

// The common controls (version 6, by the manifest) serve only the program's
// windows, not the resident tray icon: their library is loaded at the first
// window shown, which keeps the program small while it waits in the tray.
void LoadCommonControls() {
  static const bool loaded = [] {
    using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    HMODULE dll = LoadLibraryA("comctl32.dll");
    if (dll == nullptr) return false;
    auto init = reinterpret_cast<Init>(
        reinterpret_cast<void*>(GetProcAddress(dll, "InitCommonControlsEx")));
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    return init != nullptr && init(&controls) != FALSE;
  }();
  (void)loaded;
}

}  // namespace

int Win32Platform::ShowModal(Form& form, Form* owner) {
  if (form.Showing()) throw VantrelError("Cannot make a visible window modal");
  LoadCommonControls();
  HWND ownerWindow = main_;
  if (owner != nullptr) {
    for (FormWindow* window : modalStack_)
      if (&window->ShownForm() == owner && window->Handle() != nullptr)
        ownerWindow = window->Handle();
  }
  FormWindow window(*this, form);
  return window.ShowModal(ownerWindow);
}

FormWindow::FormWindow(Win32Platform& platform, Form& form) : platform_(platform), form_(form) {}

FormWindow::~FormWindow() {
  if (hwnd_ != nullptr && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  for (auto& [key, font] : fonts_) DeleteObject(font);
  for (auto& [key, brush] : brushes_) DeleteObject(brush);
}

int FormWindow::ShowModal(HWND owner) {
  form_.BeginShowing();
  auto& stack = platform_.modalStack_;
  try {
    Create(owner);
    DisableOthers job{hwnd_, &disabled_};
    EnumThreadWindows(GetCurrentThreadId(), &DisableOne, reinterpret_cast<LPARAM>(&job));
    stack.push_back(this);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    FocusFirstTabStop();
    RunModalLoop();
  } catch (...) {
    // Only resource exhaustion gets here; the form must not stay "showing".
    stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
    for (HWND hwnd : disabled_)
      if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    form_.EndShowing();
    throw;
  }
  if (!destroyed_) Pull();  // what the user typed last belongs to the model
  stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
  // Re-enabled before the window goes, so activation returns to them.
  for (HWND hwnd : disabled_)
    if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
  disabled_.clear();
  if (!destroyed_ && hwnd_ != nullptr) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
  form_.EndShowing();
  return form_.ModalResult();
}

void FormWindow::Create(HWND owner) {
  HINSTANCE instance = platform_.Instance();
  RegisterFormClass(instance, form_.className, &FormWindow::WindowProc);

  DWORD style = WS_CLIPCHILDREN;
  switch (form_.border) {
    case BorderStyle::Sizeable:
      style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
      break;
    case BorderStyle::Single:
      style |= WS_OVERLAPPED | WS_CAPTION;
      break;
    case BorderStyle::None:
      style |= WS_POPUP;
      break;
  }
  if (form_.border != BorderStyle::None && form_.systemMenu) {
    style |= WS_SYSMENU;
    if (form_.minimizeBox) style |= WS_MINIMIZEBOX;
    if (form_.maximizeBox) style |= WS_MAXIMIZEBOX;
  }
  const DWORD exStyle = WS_EX_CONTROLPARENT;
  RECT frame{0, 0, form_.clientWidth, form_.clientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  int x = form_.left;
  int y = form_.top;
  if (form_.position == FormPosition::ScreenCenter) {
    x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  }
  hwnd_ = CreateWindowExA(exStyle, form_.className.c_str(), form_.caption.c_str(), style, x, y,
                          width, height, owner, nullptr, instance, this);
  if (hwnd_ == nullptr) throw VantrelError("Error creating window " + form_.className);

  if (form_.appIcon) {
    bigIcon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON),
                                             GetSystemMetrics(SM_CYICON), LR_SHARED));
    smallIcon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  }
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(form_.font)), FALSE);

  bool anyHint = std::any_of(form_.Controls().begin(), form_.Controls().end(),
                             [](const Control& c) { return !c.hint.empty(); });
  if (anyHint) {
    tooltip_ =
        CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance, nullptr);
    SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
  }

  // Creation order is the tab order: the dialog manager walks siblings in it.
  std::vector<Control*> order;
  for (Control& c : form_.Controls()) order.push_back(&c);
  std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
    int ka = a->tabOrder < 0 ? 1 << 20 : a->tabOrder;
    int kb = b->tabOrder < 0 ? 1 << 20 : b->tabOrder;
    return ka < kb;
  });
  shown_.reserve(order.size());
  for (Control* c : order) CreateControl(*c);
  Push(true);
}

void FormWindow::CreateControl(Control& c) {
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
  }
  HWND hwnd = CreateWindowExA(
      exStyle, windowClass, "", style, c.rect.left, c.rect.top, c.rect.width, c.rect.height, hwnd_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), platform_.Instance(), nullptr);
  if (hwnd == nullptr) throw VantrelError("Error creating control " + c.name);
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.font)), FALSE);
  if (c.kind == ControlKind::Edit && c.maxLength > 0)
    SendMessageA(hwnd, EM_LIMITTEXT, c.maxLength, 0);
  if (c.kind == ControlKind::ListBox) {
    if (c.itemHeight > 0) SendMessageA(hwnd, LB_SETITEMHEIGHT, 0, c.itemHeight);
    SetPropA(hwnd, kListProcProp, reinterpret_cast<HANDLE>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)));
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormWindow::ListBoxProc));
  }
  if (tooltip_ != nullptr && !c.hint.empty()) {
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
    tool.lpszText = c.hint.data();
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  Shown shown;
  shown.control = &c;
  shown.hwnd = hwnd;
  shown.ownerDraw = ownerDraw;
  shown.visible = false;
  shown_.push_back(std::move(shown));
}

void FormWindow::FocusFirstTabStop() {
  Control* first = FirstFocus(form_);
  Shown* s = first != nullptr ? ShownOf(first->id) : nullptr;
  if (s == nullptr) return;
  SetFocus(s->hwnd);
  if (first->kind == ControlKind::Edit) SendMessageA(s->hwnd, EM_SETSEL, 0, -1);
  if (first->kind == ControlKind::Memo) {
    SendMessageA(s->hwnd, EM_SETSEL, 0, 0);
    SendMessageA(s->hwnd, EM_SCROLLCARET, 0, 0);
  }
}

// Enter and Escape are decided by the form's model, not the dialog manager
// (which would let a multi-line box's Escape close the window); only a key that
// the focused control keeps goes on to it.
bool FormWindow::PreTranslate(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || hwnd_ == nullptr) return false;
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  DialogKey key;
  if (msg.wParam == VK_RETURN)
    key = DialogKey::Enter;
  else if (msg.wParam == VK_ESCAPE)
    key = DialogKey::Escape;
  else
    return false;
  Shown* focusedShown = ShownOf(GetFocus());
  Control* focused = focusedShown != nullptr ? focusedShown->control : nullptr;
  if (KeepsKey(focused, key)) return false;
  if (Control* target = KeyTarget(form_, key, focused)) ClickControl(*target);
  return true;
}

void FormWindow::RunModalLoop() {
  while (!form_.CloseRequested() && !destroyed_) {
    MSG msg;
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      // The program is ending: leave the message for the outer loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    if (PreTranslate(msg)) continue;
    if (!destroyed_ && IsDialogMessageA(hwnd_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

FormWindow::Shown* FormWindow::ShownOf(HWND hwnd) {
  for (Shown& s : shown_)
    if (s.hwnd == hwnd) return &s;
  return nullptr;
}

FormWindow::Shown* FormWindow::ShownOf(int id) {
  for (Shown& s : shown_)
    if (s.control->id == id) return &s;
  return nullptr;
}

void FormWindow::Pull() {
  for (Shown& s : shown_) {
    Control& c = *s.control;
    if (c.kind == ControlKind::Edit || c.kind == ControlKind::Memo) {
      c.text = WindowText(s.hwnd);
      s.text = c.text;
    } else if (c.kind == ControlKind::ListBox) {
      LRESULT selected = SendMessageA(s.hwnd, LB_GETCURSEL, 0, 0);
      c.selected = selected == LB_ERR ? -1 : static_cast<int>(selected);
      s.selected = c.selected;
    }
  }
}

void FormWindow::Push(bool everything) {
  if (destroyed_) return;
  for (Shown& s : shown_) {
    Control& c = *s.control;
    switch (c.kind) {
      case ControlKind::Label:
      case ControlKind::Button:
      case ControlKind::Image:
        if (everything || c.caption != s.caption) {
          SetWindowTextA(s.hwnd, c.caption.c_str());
          if (s.ownerDraw) InvalidateRect(s.hwnd, nullptr, TRUE);
          s.caption = c.caption;
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
    }
    if (everything || c.visible != s.visible) {
      ShowWindow(s.hwnd, c.visible ? SW_SHOWNA : SW_HIDE);
      s.visible = c.visible;
    }
  }
}

void FormWindow::Report(const std::string& message) { ReportError(platform_, message); }

// Every handler runs between a pull of what the user did and a push of what
// the handler changed; exceptions never cross the window procedure.
void FormWindow::Run(const std::function<void()>& action) {
  try {
    Pull();
    action();
    Push(false);
  } catch (const std::exception& e) {
    Report(e.what());
  }
}

void FormWindow::ClickControl(Control& control) {
  Run([&] { form_.Click(control, [this](const std::string& text) { Report(text); }); });
}

void FormWindow::RunListClick(Control& control) {
  Run([&] { ClickLine(control, [this](const std::string& text) { Report(text); }); });
}

void FormWindow::CloseBox() {
  Run([&] { CloseByBox(form_, [this](const std::string& text) { Report(text); }); });
  form_.Close(kModalCancel);
}

HFONT FormWindow::FontFor(const Font& font) {
  auto key = std::make_pair(font.face, font.height);
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;
  HFONT created = CreateFontA(font.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH | FF_DONTCARE, font.face.c_str());
  fonts_[key] = created;
  return created;
}

HBRUSH FormWindow::BrushFor(COLORREF color) {
  auto found = brushes_.find(color);
  if (found != brushes_.end()) return found->second;
  HBRUSH brush = CreateSolidBrush(color);
  brushes_[color] = brush;
  return brush;
}

HBRUSH FormWindow::ColorFor(HDC dc, HWND control, bool editMessage) {
  Shown* s = ShownOf(control);
  if (s == nullptr) return nullptr;
  const Control& c = *s->control;
  if (c.kind == ControlKind::Memo) {
    SetBkColor(dc, c.color);
    return BrushFor(c.color);
  }
  if (c.kind == ControlKind::Edit) {
    COLORREF window = GetSysColor(COLOR_WINDOW);
    SetBkColor(dc, window);
    return BrushFor(window);
  }
  if (editMessage) return nullptr;
  SetBkMode(dc, TRANSPARENT);  // labels sit on the form's own colour
  return BrushFor(form_.color);
}

void FormWindow::DrawOwnerItem(const DRAWITEMSTRUCT& item) {
  Shown* s = ShownOf(item.hwndItem);
  if (s == nullptr) return;
  const Control& c = *s->control;
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  HICON appIcon = bigIcon_ != nullptr
                      ? bigIcon_
                      : static_cast<HICON>(LoadImageA(platform_.Instance(), MAKEINTRESOURCEA(1),
                                                      IMAGE_ICON, 32, 32, LR_SHARED));
  if (c.kind == ControlKind::Image) {
    FillRect(dc, &r, BrushFor(form_.color));
    int side = std::min(r.right - r.left, r.bottom - r.top);
    DrawGlyph(dc, c.glyph == Glyph::None ? Glyph::AppIcon : c.glyph,
              r.left + (r.right - r.left - side) / 2, r.top + (r.bottom - r.top - side) / 2, side,
              appIcon);
    return;
  }

  const bool pushed = (item.itemState & ODS_SELECTED) != 0;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  if (c.isDefault || focused) {
    // The default button wears a dark outline, as in a dialog.
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  const int shift = pushed ? 1 : 0;

  HGDIOBJ oldFont = SelectObject(dc, FontFor(c.font));
  RECT textSize{0, 0, 0, 0};
  DrawTextA(dc, c.caption.c_str(), -1, &textSize, DT_CALCRECT | DT_SINGLELINE);
  const int height = r.bottom - r.top;
  const int room = r.right - r.left - 6;
  const int textWidth = textSize.right - textSize.left;
  int glyphSide = std::max(8, std::min(16, height - 6));
  int gap = 4;
  // Where the system's font is wider than the design's, the text keeps its
  // room and the picture gives way.
  if (glyphSide + gap + textWidth > room) glyphSide = gap = 0;
  const int total = glyphSide + gap + textWidth;
  const int x = static_cast<int>(r.left) + std::max<int>(3, (r.right - r.left - total) / 2) + shift;
  if (glyphSide > 0)
    DrawGlyph(dc, c.glyph, x, r.top + (height - glyphSide) / 2 + shift, glyphSide, appIcon);
  RECT text{x + glyphSide + gap, r.top + shift, r.right - 3 + shift, r.bottom + shift};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  DrawTextA(dc, c.caption.c_str(), -1, &text,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  SelectObject(dc, oldFont);
  if (focused) {
    RECT focus = r;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* self = static_cast<FormWindow*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // Destroyed from outside too: the main window takes its owned windows with it.
    self->destroyed_ = true;
    self->hwnd_ = nullptr;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT CALLBACK FormWindow::ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto oldProc = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kListProcProp));
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
    RemovePropA(hwnd, kListProcProp);
  }
  return CallWindowProcA(oldProc, hwnd, message, wParam, lParam);
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(hwnd_, &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, BrushFor(form_.color));
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
      HBRUSH brush = ColorFor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                              message == WM_CTLCOLOREDIT);
      if (brush != nullptr) return reinterpret_cast<LRESULT>(brush);
      break;
    }
    case WM_DRAWITEM:
      DrawOwnerItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case DM_GETDEFID:
      for (Shown& s : shown_)
        if (s.control->isDefault && s.control->visible)
          return MAKELRESULT(s.control->id, DC_HASDEFID);
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      Shown* s = ShownOf(id);
      if (s == nullptr) return 0;  // IDOK / IDCANCEL without a button of that id
      Control& c = *s->control;
      if (c.kind == ControlKind::Button && (code == BN_CLICKED || code == BN_DOUBLECLICKED))
        ClickControl(c);
      else if (c.kind == ControlKind::ListBox && code == LBN_SELCHANGE)
        RunListClick(c);
      return 0;
    }
    case kListReclick: {
      Shown* s = ShownOf(static_cast<int>(wParam));
      if (s != nullptr) RunListClick(*s->control);
      return 0;
    }
    case WM_NEXTDLGCTL: {
      // Sent by a multi-line edit for Tab; a plain window must move the focus itself.
      HWND next = LOWORD(lParam) != 0
                      ? reinterpret_cast<HWND>(wParam)
                      : GetNextDlgTabItem(hwnd_, GetFocus(), wParam != 0 ? TRUE : FALSE);
      if (next != nullptr) {
        SetFocus(next);
        Shown* s = ShownOf(next);
        if (s != nullptr && s->control->kind == ControlKind::Edit)
          SendMessageA(next, EM_SETSEL, 0, -1);
      }
      return 0;
    }
    case WM_ACTIVATE:
      // A plain window forgets its focused control when a message box or
      // dialog takes over; give it back, as a dialog does.
      if (LOWORD(wParam) == WA_INACTIVE) {
        Shown* focus = ShownOf(GetFocus());
        lastFocus_ = focus != nullptr ? focus->control : nullptr;
      } else if (Control* back = FocusAfterBox(lastFocus_)) {
        Shown* s = ShownOf(back->id);
        if (s != nullptr && IsWindowEnabled(s->hwnd)) {
          SetFocus(s->hwnd);
          return 0;
        }
      }
      break;
    case WM_ENABLE:
      // A message box or dialog that a handler opens disables this window
      // first: show what the handler has changed so far, not the old state.
      if (wParam == FALSE) Push(false);
      break;
    case WM_CLOSE:
      CloseBox();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

}  // namespace vantrel::win32
