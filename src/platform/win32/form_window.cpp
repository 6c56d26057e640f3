// The generic renderer's window: made from the form's design, shown modally
// over the program's other windows, and its modal loop with the form's keys.
#include "platform/win32/form_window.h"

#include <algorithm>

#include "platform/dialog_behaviour.h"
#include "platform/errors.h"
#include "platform/win32/dark_mode.h"
#include "platform/win32/form_layout.h"
#include "platform/win32/session.h"

namespace vantrel::win32 {
namespace {

void RegisterFormClass(HINSTANCE instance, const std::string& name, WNDPROC proc) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  WNDCLASSEXA existing = wc;
  if (GetClassInfoExA(instance, name.c_str(), &existing)) return;  // an earlier window's
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = name.c_str();
  RegisterClassExA(&wc);
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

}  // namespace

FormWindow::FormWindow(Session& session, Dialogs& dialogs, Form& form)
    : session_(session),
      dialogs_(dialogs),
      form_(form),
      painter_(form),
      controls_(form, painter_),
      reporter_([this](const std::string& text) { Report(text); }) {}

FormWindow::~FormWindow() {
  // Before the fonts and brushes that its controls use go with the painter.
  if (hwnd_ != nullptr && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void FormWindow::EnableOthers() {
  auto& stack = session_.modalStack;
  stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
  for (HWND hwnd : disabled_)
    if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
  disabled_.clear();
}

int FormWindow::ShowModal(HWND owner) {
  form_.BeginShowing();
  try {
    Create(owner);
    DisableOthers job{hwnd_, &disabled_};
    EnumThreadWindows(GetCurrentThreadId(), &DisableOne, reinterpret_cast<LPARAM>(&job));
    session_.modalStack.push_back(this);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    if (const Control* first = FirstFocus(form_)) controls_.Focus(*first, true);
    RunModalLoop();
  } catch (...) {
    // Only resource exhaustion gets here; the form must not stay "showing".
    EnableOthers();
    form_.EndShowing();
    throw;
  }
  if (!destroyed_) controls_.Pull();  // what the user typed last belongs to the model
  // Re-enabled before the window goes, so activation returns to them.
  EnableOthers();
  if (!destroyed_ && hwnd_ != nullptr) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
  form_.EndShowing();
  return form_.ModalResult();
}

void FormWindow::Create(HWND owner) {
  HINSTANCE instance = session_.instance;
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
  DWORD exStyle = WS_EX_CONTROLPARENT;
  if (form_.taskbarButton) exStyle |= WS_EX_APPWINDOW;
  style_ = style;
  exStyle_ = exStyle;
  // Made on the monitor under the cursor (where the user clicked the tray)
  // first, so that the window's DPI is that monitor's; then sized and placed
  // for it before it is shown.
  const MonitorArea monitor = CursorMonitor();
  hwnd_ = CreateWindowExA(exStyle, form_.className.c_str(), form_.caption.c_str(), style,
                          monitor.work.left, monitor.work.top, 1, 1, owner, nullptr, instance, this);
  if (hwnd_ == nullptr) throw VantrelError("Error creating window " + form_.className);
  painter_.SetDpi(WindowDpi(hwnd_));
  painter_.RefreshColours();
  const FittedForm fitted = FitForm(form_, painter_);
  const Placement at = WindowPlacement(form_, fitted, style, exStyle, painter_.Dpi(), monitor);
  SetWindowPos(hwnd_, nullptr, at.x, at.y, at.width, at.height, SWP_NOZORDER | SWP_NOACTIVATE);

  if (form_.appIcon) {
    const int dpi = painter_.Dpi();
    bigIcon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                             SystemMetricAt(SM_CXICON, dpi),
                                             SystemMetricAt(SM_CYICON, dpi), LR_SHARED));
    smallIcon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                               SystemMetricAt(SM_CXSMICON, dpi),
                                               SystemMetricAt(SM_CYSMICON, dpi), LR_SHARED));
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  }
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(painter_.FontFor(form_.font)), FALSE);
  controls_.Create(hwnd_, instance, fitted);
  UseScheme();
}

// What the system draws of the window (title bar, the boxes' scroll bars) in
// or out of dark mode; untouched in a window that has never been dark.
void FormWindow::UseScheme() {
  const bool dark = painter_.Scheme() == ColourScheme::Dark;
  if (dark == systemPartsDark_) return;
  systemPartsDark_ = dark;
  UseDarkTitleBar(hwnd_, dark);
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const Control* c = controls_.Find(child);
    if (c != nullptr && (c->kind == ControlKind::Edit || c->kind == ControlKind::Memo ||
                         c->kind == ControlKind::ListBox))
      UseDarkControlTheme(child, dark);
    else if (c != nullptr && c->kind == ControlKind::CheckBox)
      UseUnthemedWhileDark(child, dark);
  }
}

void FormWindow::Relayout() {
  const FittedForm fitted = FitForm(form_, painter_);
  const SIZE size = WindowSize(fitted, style_, exStyle_, painter_.Dpi());
  SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(painter_.FontFor(form_.font)), FALSE);
  controls_.Relayout(fitted);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

// Enter and Escape are decided by the form's model, not the dialog manager
// (which would let a multi-line box's Escape close the window); only a key that
// the focused control keeps goes on to it.
bool FormWindow::PreTranslate(const MSG& msg) {
  if (hwnd_ == nullptr || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
  if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_RETURN) {
    // Alt+Enter, the "properties" key, belongs to a list that opens its lines.
    Control* focused = controls_.Find(GetFocus());
    if (focused == nullptr || focused->kind != ControlKind::ListBox || !focused->onOpen)
      return false;
    Run([&] { OpenLine(*focused, reporter_); });
    return true;
  }
  if (msg.message != WM_KEYDOWN) return false;
  DialogKey key;
  if (msg.wParam == VK_RETURN)
    key = DialogKey::Enter;
  else if (msg.wParam == VK_ESCAPE)
    key = DialogKey::Escape;
  else
    return false;
  Control* focused = controls_.Find(GetFocus());
  if (KeepsKey(focused, key)) return false;
  if (Control* target = KeyTarget(form_, key, focused)) ClickControl(*target);
  return true;
}

void FormWindow::RunModalLoop() {
  while (!form_.CloseRequested() && !destroyed_) {
    MSG msg;
    // Taken as UTF-16, so that a typed character outside the code page's
    // single bytes reaches the edit boxes whole.
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      // The program is ending: leave the message for the outer loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    if (PreTranslate(msg)) continue;
    if (!destroyed_ && IsDialogMessageW(hwnd_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void FormWindow::Report(const std::string& message) { ReportError(dialogs_, message); }

// Every handler runs between a pull of what the user did and a push of what
// the handler changed; exceptions never cross the window procedure.
void FormWindow::Run(const std::function<void()>& action) {
  try {
    controls_.Pull();
    action();
    if (!destroyed_) controls_.Push(false);
  } catch (const std::exception& e) {
    Report(e.what());
  }
}

void FormWindow::ClickControl(Control& control) {
  Run([&] { form_.Click(control, reporter_); });
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

}  // namespace vantrel::win32
