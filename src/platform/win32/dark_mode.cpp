// Dark title bars, menus and control themes, looked up at run time where Windows has them.
#include "platform/win32/dark_mode.h"

namespace vantrel::win32 {
namespace {

// The attribute's number before Windows 10 20H1, and since.
constexpr DWORD kDarkTitleBarOld = 19;
constexpr DWORD kDarkTitleBar = 20;

// uxtheme's undocumented preferred-app-mode functions, by ordinal (Windows 10
// 1903 and later). On 1809 ordinal 135 takes a BOOL instead, which the modes
// below also read right (dark: non-zero). Before 1809 an ordinal may name
// something else, so they are not looked up there.
enum PreferredAppMode { kDefaultMode = 0, kForceDark = 2 };
constexpr WORD kSetPreferredAppMode = 135;
constexpr WORD kFlushMenuThemes = 136;
constexpr DWORD kFirstBuildWithAppModes = 17763;

struct ThemeFunctions {
  HRESULT(WINAPI* setWindowTheme)(HWND, LPCWSTR, LPCWSTR) = nullptr;
  int(WINAPI* setPreferredAppMode)(int) = nullptr;
  void(WINAPI* flushMenuThemes)() = nullptr;
  HRESULT(WINAPI* setWindowAttribute)(HWND, DWORD, LPCVOID, DWORD) = nullptr;
};

template <typename F>
void Resolve(HMODULE dll, const char* name, F& function) {
  if (dll != nullptr)
    function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

// The real build number: GetVersionEx answers what the manifest claims to know.
DWORD WindowsBuild() {
  using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  GetVersion get = nullptr;
  Resolve(GetModuleHandleA("ntdll.dll"), "RtlGetVersion", get);
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  return get != nullptr && get(&info) == 0 ? info.dwBuildNumber : 0;
}

// Loaded at the first use, so the program waiting in the tray in light mode
// loads neither library.
const ThemeFunctions& Themes() {
  static const ThemeFunctions functions = [] {
    ThemeFunctions f;
    HMODULE uxtheme = LoadLibraryA("uxtheme.dll");
    Resolve(uxtheme, "SetWindowTheme", f.setWindowTheme);
    if (WindowsBuild() >= kFirstBuildWithAppModes) {
      Resolve(uxtheme, MAKEINTRESOURCEA(kSetPreferredAppMode), f.setPreferredAppMode);
      Resolve(uxtheme, MAKEINTRESOURCEA(kFlushMenuThemes), f.flushMenuThemes);
    }
    Resolve(LoadLibraryA("dwmapi.dll"), "DwmSetWindowAttribute", f.setWindowAttribute);
    return f;
  }();
  return functions;
}

}  // namespace

bool AppsUseDarkMode() {
  DWORD light = 1;
  DWORD size = sizeof light;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER,
                    "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                    KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return false;
  DWORD type = 0;
  const bool read = RegQueryValueExA(key, "AppsUseLightTheme", nullptr, &type,
                                     reinterpret_cast<BYTE*>(&light), &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  return read && type == REG_DWORD && light == 0;
}

void UseDarkTitleBar(HWND window, bool dark) {
  const auto set = Themes().setWindowAttribute;
  if (set == nullptr) return;
  const BOOL value = dark ? TRUE : FALSE;
  if (FAILED(set(window, kDarkTitleBar, &value, sizeof value)))
    set(window, kDarkTitleBarOld, &value, sizeof value);
}

void UseDarkControlTheme(HWND control, bool dark) {
  if (Themes().setWindowTheme != nullptr)
    Themes().setWindowTheme(control, dark ? L"DarkMode_Explorer" : nullptr, nullptr);
}

void UseUnthemedWhileDark(HWND control, bool dark) {
  if (Themes().setWindowTheme != nullptr)
    Themes().setWindowTheme(control, dark ? L"" : nullptr, dark ? L"" : nullptr);
}

void UseDarkMenus(bool dark) {
  static bool wasDark = false;
  if (!dark && !wasDark) return;  // light as the system makes it: nothing to load
  wasDark = dark;
  if (Themes().setPreferredAppMode == nullptr) return;
  Themes().setPreferredAppMode(dark ? kForceDark : kDefaultMode);
  if (Themes().flushMenuThemes != nullptr) Themes().flushMenuThemes();
}

}  // namespace vantrel::win32
