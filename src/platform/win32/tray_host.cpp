// The hidden main window, its tray icon, the pop-up menus and the timer on Windows.
#include "platform/win32/tray_host.h"

#include <algorithm>
#include <cstring>

#include "platform/errors.h"
#include "platform/win32/dark_mode.h"
#include "platform/win32/files.h"
#include "platform/win32/monitors.h"

namespace vantrel::win32 {
namespace {

constexpr UINT kTrayCallbackMessage = WM_USER + 10;  // 1034, registered with the icon
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 500;
constexpr UINT_PTR kWakeTimer = 2;

// Inserted as MFT_STRING items, so an empty caption stays an empty text item
// and never turns into a separator.
void AppendItem(HMENU menu, const std::string& caption, UINT id, HMENU submenu) {
  MENUITEMINFOA item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_STATE | (submenu ? MIIM_SUBMENU : 0);
  item.fType = MFT_STRING;
  item.fState = MFS_ENABLED;
  item.wID = id;
  item.hSubMenu = submenu;
  std::string text = caption;
  item.dwTypeData = text.data();
  item.cch = static_cast<UINT>(text.size());
  InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &item);
}

// The shell's record up to the balloon fields (version 2): 504 bytes in the
// 64-bit layout, 488 in the 32-bit one, so both builds register the same version.
constexpr DWORD kIconRecordSize = NOTIFYICONDATAA_V2_SIZE;
#ifdef _WIN64
static_assert(NOTIFYICONDATAA_V2_SIZE == 504, "the 64-bit tray record must be 504 bytes");
#else
static_assert(NOTIFYICONDATAA_V2_SIZE == 488, "the 32-bit tray record must be 488 bytes");
#endif

}  // namespace

Win32TrayHost::Win32TrayHost(Session& session, Dialogs& dialogs)
    : session_(session), dialogs_(dialogs) {
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
}

Win32TrayHost::~Win32TrayHost() {
  if (session_.main != nullptr && IsWindow(session_.main)) DestroyWindow(session_.main);
}

void Win32TrayHost::CreateMainWindow(const std::string& className, const std::string& caption) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &Win32TrayHost::MainWindowProc;
  wc.hInstance = session_.instance;
  wc.hIcon = LoadIconA(session_.instance, MAKEINTRESOURCEA(1));
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = className.c_str();
  RegisterClassExA(&wc);
  // Never shown: WS_VISIBLE is left out and nothing calls ShowWindow on it.
  session_.main =
      CreateWindowExA(0, className.c_str(), caption.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                      CW_USEDEFAULT, 200, 100, nullptr, nullptr, session_.instance, this);
  AllowTaskbarCreated();
}

void Win32TrayHost::AllowTaskbarCreated() {
  // Run elevated, the program would not hear a non-elevated shell say that its
  // tray was re-created. Windows before 7 lack the call: there nothing filters.
  using FilterEx = BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
  HMODULE user32 = GetModuleHandleA("user32.dll");
  auto filter = user32 == nullptr ? nullptr
                                  : reinterpret_cast<FilterEx>(reinterpret_cast<void*>(
                                        GetProcAddress(user32, "ChangeWindowMessageFilterEx")));
  if (filter != nullptr && session_.main != nullptr && taskbarCreated_ != 0)
    filter(session_.main, taskbarCreated_, MSGFLT_ALLOW, nullptr);
}

void Win32TrayHost::AddTrayIcon(const std::string& tip) {
  std::memset(&icon_, 0, sizeof icon_);
  icon_.cbSize = kIconRecordSize;
  icon_.hWnd = session_.main;
  icon_.uID = 0;
  icon_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  icon_.uCallbackMessage = kTrayCallbackMessage;
  std::strncpy(icon_.szTip, tip.c_str(), sizeof icon_.szTip - 1);
  AddIconToShell();
}

void Win32TrayHost::AddIconToShell() {
  // The program's first icon, at the size the notification area shows (the
  // small icon's, which grows with the scaling); loaded again when the shell
  // comes back, as the scaling may have changed with it.
  trayIcon_.reset(static_cast<HICON>(LoadImageA(session_.instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON),
                                                GetSystemMetrics(SM_CYSMICON), 0)));
  if (!trayIcon_) trayIcon_.reset(ExtractIconA(session_.instance, ModulePath().c_str(), 0));
  icon_.hIcon = trayIcon_.get();
  Shell_NotifyIconA(NIM_ADD, &icon_);
  // Version 4 brings the keyboard's notifications; mouse presses keep theirs.
  NOTIFYICONDATAA version = icon_;
  version.uVersion = NOTIFYICON_VERSION_4;
  Shell_NotifyIconA(NIM_SETVERSION, &version);
  iconShown_ = true;
}

void Win32TrayHost::DeleteTrayIcon() {
  NOTIFYICONDATAA record{};
  record.cbSize = kIconRecordSize;
  record.hWnd = session_.main;
  record.uID = 0;
  Shell_NotifyIconA(NIM_DELETE, &record);
  iconShown_ = false;
}

void Win32TrayHost::CloseMainWindow() {
  // Posted, so the command that asked for it returns first; the window is
  // then destroyed by the loop that is running (a modal one included).
  if (session_.main != nullptr) PostMessageA(session_.main, WM_CLOSE, 0, 0);
}

Point Win32TrayHost::CursorPos() {
  if (keyboardAnchor_) return *keyboardAnchor_;
  POINT p{};
  GetCursorPos(&p);
  return {static_cast<int>(p.x), static_cast<int>(p.y)};
}

void Win32TrayHost::SetForegroundMainWindow() { SetForegroundWindow(session_.main); }

int Win32TrayHost::PopupMenu(const std::vector<std::string>& captions, Point at,
                             const std::vector<std::vector<std::string>>& submenus) {
  OwnedMenu menu(CreatePopupMenu());
  if (!menu) return -1;
  UINT nextSubId = static_cast<UINT>(captions.size()) + 1;
  for (std::size_t i = 0; i < captions.size(); ++i) {
    HMENU submenu = i < submenus.size() && !submenus[i].empty() ? CreatePopupMenu() : nullptr;
    if (submenu != nullptr)
      for (const std::string& caption : submenus[i])
        AppendItem(submenu, caption, nextSubId++, nullptr);
    // The menu destroys its submenus with itself.
    AppendItem(menu.get(), captions[i], static_cast<UINT>(i + 1), submenu);
  }
  // The menus follow the app mode as it is now, unless high contrast is on.
  UseDarkMenus(ChooseScheme(CurrentSystemColours()) == ColourScheme::Dark);
  menuOpen_ = true;
  BOOL chosen = TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x,
                               at.y, 0, session_.main, nullptr);
  menuOpen_ = false;
  // Lets the menu close properly when the user clicks elsewhere.
  PostMessageA(session_.main, WM_NULL, 0, 0);
  return chosen > 0 ? static_cast<int>(chosen) - 1 : -1;
}

void Win32TrayHost::EnableTimer(bool enabled) {
  if (enabled == timerEnabled_) return;  // a running timer keeps its interval
  if (enabled)
    timerEnabled_ = SetTimer(session_.main, kTimer1, kTimer1Interval, nullptr) != 0;
  else {
    KillTimer(session_.main, kTimer1);
    timerEnabled_ = false;
  }
}

void Win32TrayHost::SetWakeTimer(std::optional<int> delayMs) {
  if (session_.main == nullptr) return;
  if (delayMs)
    SetTimer(session_.main, kWakeTimer, static_cast<UINT>(std::max(*delayMs, 0)), nullptr);
  else
    KillTimer(session_.main, kWakeTimer);
}

LRESULT CALLBACK Win32TrayHost::MainWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32TrayHost*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  return self->HandleMainMessage(hwnd, message, wParam, lParam);
}

LRESULT Win32TrayHost::HandleMainMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kTrayCallbackMessage) {
    const std::optional<TrayEvent> event = trayNotifications_.Decode(wParam, lParam, menuOpen_);
    if (event && events_ != nullptr) {
      // A menu the keyboard opened belongs at the icon, not at the mouse.
      keyboardAnchor_ = event->anchor;
      RunGuarded(dialogs_, [this, &event] { events_->OnTrayCallback(event->message); });
      keyboardAnchor_.reset();
    }
    return 0;
  }
  if (message == WM_HOTKEY) {
    if (events_ != nullptr) {
      const int id = static_cast<int>(wParam);
      RunGuarded(dialogs_, [this, id] { events_->OnHotKey(id); });
    }
    return 0;
  }
  if (message == WM_TIMER && wParam == kTimer1) {
    if (events_ != nullptr) RunGuarded(dialogs_, [this] { events_->OnTimer(); });
    return 0;
  }
  if (message == WM_TIMER && wParam == kWakeTimer) {
    if (events_ != nullptr) RunGuarded(dialogs_, [this] { events_->OnWakeTimer(); });
    return 0;
  }
  if (taskbarCreated_ != 0 && message == taskbarCreated_) {
    // The shell's tray was re-created (Explorer restarted): the icon is gone with it.
    if (iconShown_) AddIconToShell();
    return 0;
  }
  if (message == WM_DESTROY) {
    if (timerEnabled_) KillTimer(hwnd, kTimer1);
    KillTimer(hwnd, kWakeTimer);
    timerEnabled_ = false;
    session_.main = nullptr;
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace vantrel::win32
