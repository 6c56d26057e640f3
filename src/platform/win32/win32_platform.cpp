#include "platform/win32/win32_platform.h"

#include <algorithm>
#include <cstring>

#include "platform/errors.h"
#include "platform/win32/dark_mode.h"
#include "platform/win32/entry.h"
#include "platform/win32/form_window.h"
#include "platform/win32/message_box.h"
#include "platform/win32/monitors.h"

namespace vantrel::win32 {
namespace {

constexpr UINT kTrayCallbackMessage = WM_USER + 10;  // 1034, registered with the icon
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 500;

// The shell's record up to the balloon fields (version 2): 504 bytes in the
// 64-bit layout, 488 in the 32-bit one, so both builds register the same version.
constexpr DWORD kIconRecordSize = NOTIFYICONDATAA_V2_SIZE;
#ifdef _WIN64
static_assert(NOTIFYICONDATAA_V2_SIZE == 504, "the 64-bit tray record must be 504 bytes");
#else
static_assert(NOTIFYICONDATAA_V2_SIZE == 488, "the 32-bit tray record must be 488 bytes");
#endif

// Calls a Get...DirectoryA-style function, asking again with the size it
// reports when the first buffer was too small. Empty on failure.
template <typename Call>
std::string AskWithBuffer(UINT firstSize, Call call) {
  std::string buffer(firstSize, '\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    UINT got = call(buffer.data(), static_cast<UINT>(buffer.size()));
    if (got == 0) return "";
    if (got < buffer.size()) return std::string(buffer.c_str());
    buffer.assign(got + 1, '\0');
  }
  return "";
}

RegType ToRegType(DWORD type) {
  switch (type) {
    case REG_SZ: return RegType::String;
    case REG_EXPAND_SZ: return RegType::ExpandString;
    case REG_DWORD: return RegType::Dword;
    case REG_BINARY: return RegType::Binary;
    default: return RegType::Other;
  }
}

DWORD FromRegType(RegType type) {
  switch (type) {
    case RegType::String: return REG_SZ;
    case RegType::ExpandString: return REG_EXPAND_SZ;
    case RegType::Dword: return REG_DWORD;
    case RegType::Binary: return REG_BINARY;
    case RegType::None: return REG_NONE;
    case RegType::Other: return REG_BINARY;
  }
  return REG_BINARY;
}

}  // namespace

Win32Platform::Win32Platform(HINSTANCE instance) : instance_(instance) {
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
}

Win32Platform::~Win32Platform() {
  if (main_ != nullptr && IsWindow(main_)) DestroyWindow(main_);
  if (comReady_ && comUninitialize_ != nullptr) comUninitialize_();
}

// The shell's open may hand a file to an opener that is a COM handler, and the
// file chooser hosts the shell's views: COM for this thread, apartment-threaded,
// set up before the first of them rather than at start, so that the resident
// program does without it until it opens something.
void Win32Platform::EnsureCom() {
  if (comTried_) return;
  comTried_ = true;
  HMODULE ole32 = LoadLibraryA("ole32.dll");
  if (ole32 == nullptr) return;
  auto initialize = reinterpret_cast<HRESULT(WINAPI*)(void*, DWORD)>(
      reinterpret_cast<void*>(GetProcAddress(ole32, "CoInitializeEx")));
  comUninitialize_ = reinterpret_cast<void(WINAPI*)()>(
      reinterpret_cast<void*>(GetProcAddress(ole32, "CoUninitialize")));
  comReady_ = initialize != nullptr &&
              SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

std::unique_ptr<Platform> MakePlatform() {
  return std::make_unique<Win32Platform>(GetModuleHandleA(nullptr));
}

int RunMessageLoop() {
  MSG msg;
  // Taken as UTF-16, as in the modal loops.
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}

HWND Win32Platform::DialogOwner() const {
  for (auto it = modalStack_.rbegin(); it != modalStack_.rend(); ++it) {
    HWND hwnd = (*it)->Handle();
    if (hwnd != nullptr && IsWindow(hwnd)) return hwnd;
  }
  return main_;
}

// --- Command line and output -----------------------------------------------------

std::string Win32Platform::CommandLineText() {
  const wchar_t* line = GetCommandLineW();
  const int units = lstrlenW(line);
  const int size = WideCharToMultiByte(CP_UTF8, 0, line, units, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, line, units, text.data(), size, nullptr, nullptr);
  return text;
}

OutputKind Win32Platform::StandardOutput() {
  HANDLE given = GetStdHandle(STD_OUTPUT_HANDLE);
  if (given == nullptr || given == INVALID_HANDLE_VALUE) return OutputKind::None;
  DWORD mode = 0;
  switch (GetFileType(given)) {
    case FILE_TYPE_DISK:
      return OutputKind::Disk;
    case FILE_TYPE_PIPE:
      return OutputKind::Pipe;
    // NUL is a character device too, but no console.
    case FILE_TYPE_CHAR:
      return GetConsoleMode(given, &mode) ? OutputKind::Console : OutputKind::Device;
    default:
      return OutputKind::None;
  }
}

bool Win32Platform::AttachParentConsole() {
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
  return console != INVALID_HANDLE_VALUE && SetStdHandle(STD_OUTPUT_HANDLE, console);
}

bool Win32Platform::WriteOutput(const std::string& text) {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD written = 0, mode = 0;
  if (!GetConsoleMode(output, &mode))
    return WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) !=
           FALSE;
  // A console shows UTF-16 whatever its code page.
  const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(units > 0 ? units : 0), L'\0');
  if (units > 0)
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
  return WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) !=
         FALSE;
}

// --- Message boxes ------------------------------------------------------------

BoxResult Win32Platform::ShowMessage(BoxKind kind, const std::string& text, BoxButtons buttons) {
  const char* caption = "Vantrel";
  UINT type = 0;
  if (kind == BoxKind::Warning) {
    caption = "Warning";
    type = MB_ICONWARNING;
  } else if (kind == BoxKind::Information) {
    caption = "Information";
    type = MB_ICONINFORMATION;
  }
  type |= buttons == BoxButtons::YesNo ? MB_YESNO | MB_DEFBUTTON1 : MB_OK;
  int answer = ShowMessageBox(DialogOwner(), text, caption, type);
  if (buttons == BoxButtons::Ok) return BoxResult::Ok;
  return answer == IDYES ? BoxResult::Yes : BoxResult::No;
}

void Win32Platform::ShowErrorBox(const std::string& text) {
  ShowMessageBox(DialogOwner(), text, "Vantrel", MB_OK | MB_ICONERROR);
}

// --- Folders and files ------------------------------------------------------------

std::string Win32Platform::AppDataFolder() {
  char buffer[MAX_PATH + 1] = {};
  SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_APPDATA, FALSE);
  return buffer;
}

std::string Win32Platform::WindowsDirectory() {
  return AskWithBuffer(200, [](char* buffer, UINT size) { return GetWindowsDirectoryA(buffer, size); });
}

std::string Win32Platform::SystemDirectory() {
  return AskWithBuffer(200, [](char* buffer, UINT size) { return GetSystemDirectoryA(buffer, size); });
}

std::string Win32Platform::ProgramPath() {
  // GetModuleFileNameA cuts the path and returns the buffer's full size when it is too small.
  std::string buffer(MAX_PATH, '\0');
  for (int attempt = 0; attempt < 6; ++attempt) {
    DWORD got = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (got == 0) return "";
    if (got < buffer.size()) return std::string(buffer.c_str());
    buffer.assign(buffer.size() * 2, '\0');
  }
  return "";
}

PathKind Win32Platform::GetPathKind(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PathKind::Missing
                                                                          : PathKind::Unknown;
  }
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::Directory : PathKind::File;
}

bool Win32Platform::CreateDirectory(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

std::vector<std::string> Win32Platform::FindFiles(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  FileSearch search(FindFirstFileA(pattern.c_str(), &found));
  if (!search) return names;
  do {
    names.emplace_back(found.cFileName);
  } while (FindNextFileA(search.get(), &found));
  return names;
}

std::string Win32Platform::ShortPath(const std::string& path) {
  std::string buffer(MAX_PATH, '\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD got = GetShortPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (got == 0) return "";
    if (got < buffer.size()) return std::string(buffer.c_str());
    buffer.assign(got + 1, '\0');
  }
  return "";
}

// --- Main window, tray icon, menus, timer -----------------------------------------

void Win32Platform::CreateMainWindow(const std::string& className, const std::string& caption) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &Win32Platform::MainWindowProc;
  wc.hInstance = instance_;
  wc.hIcon = LoadIconA(instance_, MAKEINTRESOURCEA(1));
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = className.c_str();
  RegisterClassExA(&wc);
  // Never shown: WS_VISIBLE is left out and nothing calls ShowWindow on it.
  main_ = CreateWindowExA(0, className.c_str(), caption.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                          CW_USEDEFAULT, 200, 100, nullptr, nullptr, instance_, this);
  AllowTaskbarCreated();
}

void Win32Platform::AllowTaskbarCreated() {
  // Run elevated, the program would not hear a non-elevated shell say that its
  // tray was re-created. Windows before 7 lack the call: there nothing filters.
  using FilterEx = BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
  HMODULE user32 = GetModuleHandleA("user32.dll");
  auto filter = user32 == nullptr ? nullptr
                                  : reinterpret_cast<FilterEx>(reinterpret_cast<void*>(
                                        GetProcAddress(user32, "ChangeWindowMessageFilterEx")));
  if (filter != nullptr && main_ != nullptr && taskbarCreated_ != 0)
    filter(main_, taskbarCreated_, MSGFLT_ALLOW, nullptr);
}

void Win32Platform::SetEvents(PlatformEvents* events) { events_ = events; }

void Win32Platform::AddTrayIcon(const std::string& tip) {
  std::memset(&icon_, 0, sizeof icon_);
  icon_.cbSize = kIconRecordSize;
  icon_.hWnd = main_;
  icon_.uID = 0;
  icon_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  icon_.uCallbackMessage = kTrayCallbackMessage;
  std::strncpy(icon_.szTip, tip.c_str(), sizeof icon_.szTip - 1);
  AddIconToShell();
}

void Win32Platform::AddIconToShell() {
  // The program's first icon, at the size the notification area shows (the
  // small icon's, which grows with the scaling); loaded again when the shell
  // comes back, as the scaling may have changed with it.
  trayIcon_.reset(static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON),
                                                GetSystemMetrics(SM_CYSMICON), 0)));
  if (!trayIcon_) trayIcon_.reset(ExtractIconA(instance_, ProgramPath().c_str(), 0));
  icon_.hIcon = trayIcon_.get();
  Shell_NotifyIconA(NIM_ADD, &icon_);
  // Version 4 brings the keyboard's notifications; mouse presses keep theirs.
  NOTIFYICONDATAA version = icon_;
  version.uVersion = NOTIFYICON_VERSION_4;
  Shell_NotifyIconA(NIM_SETVERSION, &version);
  iconShown_ = true;
}

void Win32Platform::DeleteTrayIcon() {
  NOTIFYICONDATAA record{};
  record.cbSize = kIconRecordSize;
  record.hWnd = main_;
  record.uID = 0;
  Shell_NotifyIconA(NIM_DELETE, &record);
  iconShown_ = false;
}

void Win32Platform::CloseMainWindow() {
  // Posted, so the command that asked for it returns first; the window is
  // then destroyed by the loop that is running (a modal one included).
  if (main_ != nullptr) PostMessageA(main_, WM_CLOSE, 0, 0);
}

Point Win32Platform::CursorPos() {
  if (keyboardAnchor_) return *keyboardAnchor_;
  POINT p{};
  GetCursorPos(&p);
  return {static_cast<int>(p.x), static_cast<int>(p.y)};
}

void Win32Platform::SetForegroundMainWindow() { SetForegroundWindow(main_); }

int Win32Platform::PopupMenu(const std::vector<std::string>& captions, Point at) {
  OwnedMenu menu(CreatePopupMenu());
  if (!menu) return -1;
  for (std::size_t i = 0; i < captions.size(); ++i) {
    // Inserted as MFT_STRING items, so an empty caption stays an empty text
    // item and never turns into a separator.
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_STATE;
    item.fType = MFT_STRING;
    item.fState = MFS_ENABLED;
    item.wID = static_cast<UINT>(i + 1);
    std::string text = captions[i];
    item.dwTypeData = text.data();
    item.cch = static_cast<UINT>(text.size());
    InsertMenuItemA(menu.get(), static_cast<UINT>(i), TRUE, &item);
  }
  // The menus follow the app mode as it is now, unless high contrast is on.
  UseDarkMenus(ChooseScheme(CurrentSystemColours()) == ColourScheme::Dark);
  menuOpen_ = true;
  BOOL chosen = TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y,
                               0, main_, nullptr);
  menuOpen_ = false;
  // Lets the menu close properly when the user clicks elsewhere.
  PostMessageA(main_, WM_NULL, 0, 0);
  return chosen > 0 ? static_cast<int>(chosen) - 1 : -1;
}

void Win32Platform::EnableTimer(bool enabled) {
  if (enabled == timerEnabled_) return;  // a running timer keeps its interval
  if (enabled)
    timerEnabled_ = SetTimer(main_, kTimer1, kTimer1Interval, nullptr) != 0;
  else {
    KillTimer(main_, kTimer1);
    timerEnabled_ = false;
  }
}

bool Win32Platform::TimerEnabled() { return timerEnabled_; }

bool Win32Platform::RegisterHotKey(int id, const KeyCombo& combo) {
  if (main_ == nullptr || !IsShortcutKey(combo)) return false;
  UINT modifiers = 0;
  if (combo.modifiers & kKeyShift) modifiers |= MOD_SHIFT;
  if (combo.modifiers & kKeyControl) modifiers |= MOD_CONTROL;
  if (combo.modifiers & kKeyAlt) modifiers |= MOD_ALT;
  if (combo.modifiers & kKeyWin) modifiers |= MOD_WIN;
  const UINT key = static_cast<UINT>(combo.key);
  // A key held down opens its title once, not once per repeat; Windows before
  // 7 refuses that flag, and there the key goes without it.
  if (::RegisterHotKey(main_, id, modifiers | MOD_NOREPEAT, key)) return true;
  return GetLastError() != ERROR_HOTKEY_ALREADY_REGISTERED &&
         ::RegisterHotKey(main_, id, modifiers, key) != FALSE;
}

void Win32Platform::UnregisterHotKey(int id) {
  if (main_ != nullptr) ::UnregisterHotKey(main_, id);
}

LRESULT CALLBACK Win32Platform::MainWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32Platform*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  return self->HandleMainMessage(hwnd, message, wParam, lParam);
}

LRESULT Win32Platform::HandleMainMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kTrayCallbackMessage) {
    const std::optional<TrayEvent> event = trayNotifications_.Decode(wParam, lParam, menuOpen_);
    if (event && events_ != nullptr) {
      // A menu the keyboard opened belongs at the icon, not at the mouse.
      keyboardAnchor_ = event->anchor;
      RunGuarded(*this, [this, &event] { events_->OnTrayCallback(event->message); });
      keyboardAnchor_.reset();
    }
    return 0;
  }
  if (message == WM_HOTKEY) {
    if (events_ != nullptr) {
      const int id = static_cast<int>(wParam);
      RunGuarded(*this, [this, id] { events_->OnHotKey(id); });
    }
    return 0;
  }
  if (message == WM_TIMER && wParam == kTimer1) {
    if (events_ != nullptr) RunGuarded(*this, [this] { events_->OnTimer(); });
    return 0;
  }
  if (taskbarCreated_ != 0 && message == taskbarCreated_) {
    // The shell's tray was re-created (Explorer restarted): the icon is gone with it.
    if (iconShown_) AddIconToShell();
    return 0;
  }
  if (message == WM_DESTROY) {
    if (timerEnabled_) KillTimer(hwnd, kTimer1);
    timerEnabled_ = false;
    main_ = nullptr;
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// --- File chooser ------------------------------------------------------------------

namespace {

// The file chooser's library is loaded on its first use: most runs never open
// it, and loading it at start costs the resident program several DLLs.
struct FileChooser {
  decltype(&GetOpenFileNameA) open = nullptr;
  decltype(&CommDlgExtendedError) lastError = nullptr;
};

const FileChooser& LoadFileChooser() {
  static const FileChooser chooser = [] {
    FileChooser c;
    if (HMODULE dll = LoadLibraryA("comdlg32.dll")) {
      c.open = reinterpret_cast<decltype(&GetOpenFileNameA)>(
          reinterpret_cast<void*>(GetProcAddress(dll, "GetOpenFileNameA")));
      c.lastError = reinterpret_cast<decltype(&CommDlgExtendedError)>(
          reinterpret_cast<void*>(GetProcAddress(dll, "CommDlgExtendedError")));
    }
    return c;
  }();
  return chooser;
}

}  // namespace

std::optional<std::string> Win32Platform::ChooseFile(const std::string& initialName) {
  EnsureCom();
  const FileChooser& chooser = LoadFileChooser();
  if (chooser.open == nullptr || chooser.lastError == nullptr) return std::nullopt;
  std::string buffer(32768, '\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    buffer.replace(0, std::min(initialName.size(), buffer.size() - 1),
                 initialName.substr(0, buffer.size() - 1));
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = DialogOwner();
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING;
    if (chooser.open(&ofn)) return std::string(buffer.c_str());
    if (chooser.lastError() != FNERR_BUFFERTOOSMALL) return std::nullopt;
    // The first two bytes hold the size that the chosen name needs.
    unsigned needed = static_cast<unsigned char>(buffer[0]) |
                      (static_cast<unsigned char>(buffer[1]) << 8);
    buffer.assign(std::max<std::size_t>(needed + 1, buffer.size() * 2), '\0');
  }
  return std::nullopt;
}

// --- System parameters -------------------------------------------------------------

bool Win32Platform::GetScreenSaveActive(bool& active) {
  BOOL on = FALSE;
  if (!SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &on, SPIF_SENDWININICHANGE)) return false;
  active = on != FALSE;
  return true;
}

bool Win32Platform::SetScreenSaveActive(bool on) {
  return SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, on ? 1 : 0, nullptr,
                               SPIF_SENDWININICHANGE) != FALSE;
}

int Win32Platform::PlatformId() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record must be 148 bytes");
  // The platform id is what the program needs; the call's deprecation (it may
  // report a compatibility version) does not matter for that.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  BOOL ok = GetVersionExA(&info);
#pragma GCC diagnostic pop
  return ok ? static_cast<int>(info.dwPlatformId) : -1;
}

// --- Registry ------------------------------------------------------------------------

RegHandle Win32Platform::RegOpenKey(const std::string& subKey) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return 0;
  return reinterpret_cast<RegHandle>(key);
}

std::optional<RegValue> Win32Platform::RegQueryValue(RegHandle key, const std::string& name) {
  auto hkey = reinterpret_cast<HKEY>(key);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(hkey, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  // The value may grow between the two calls: ask again with the new size.
  for (int attempt = 0; attempt < 4; ++attempt) {
    std::string data(size, '\0');
    DWORD got = size;
    LONG status = RegQueryValueExA(hkey, name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(data.data()), &got);
    if (status == ERROR_SUCCESS) {
      data.resize(got);
      return RegValue{ToRegType(type), std::move(data)};
    }
    if (status != ERROR_MORE_DATA) return std::nullopt;
    size = got > size ? got : size * 2 + 16;
  }
  return std::nullopt;
}

bool Win32Platform::RegSetValue(RegHandle key, const std::string& name, const RegValue& value) {
  return RegSetValueExA(reinterpret_cast<HKEY>(key), name.c_str(), 0, FromRegType(value.type),
                        reinterpret_cast<const BYTE*>(value.data.data()),
                        static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

bool Win32Platform::RegDeleteValue(RegHandle key, const std::string& name) {
  return RegDeleteValueA(reinterpret_cast<HKEY>(key), name.c_str()) == ERROR_SUCCESS;
}

void Win32Platform::RegCloseKey(RegHandle key) {
  if (key != 0) ::RegCloseKey(reinterpret_cast<HKEY>(key));
}

}  // namespace vantrel::win32
