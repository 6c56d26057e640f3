// Loaded into vantrel.exe by the e2e driver: reads what only the program's own
// process can read under Wine (a pop-up menu's item texts, a message box's
// icon, the size of a control's text in the font it is drawn with, the verb
// of a start through the shell), or does what only it can (a DPI change, whose
// message carries a pointer). Its functions run on threads the driver starts.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

namespace {

struct Search {
  HWND found;
};

BOOL CALLBACK FindMenuWindow(HWND hwnd, LPARAM param) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char name[16] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && std::strcmp(name, "#32768") == 0) {
    reinterpret_cast<Search*>(param)->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// Hands `out` to the driver through the mapping it made for this process.
bool WriteToMapping(const std::string& out) {
  char name[64];
  std::snprintf(name, sizeof name, "VantrelMenuSpy-%lu", GetCurrentProcessId());
  HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name);
  if (mapping == nullptr) return false;
  void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0);
  bool written = false;
  if (view != nullptr) {
    MEMORY_BASIC_INFORMATION region{};
    VirtualQuery(view, &region, sizeof region);
    if (out.size() < region.RegionSize) {
      std::memcpy(view, out.c_str(), out.size() + 1);
      written = true;
    }
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
  return written;
}

// The columns where a control, drawn into memory as it paints itself, shows
// a coloured picture (its text, frame and face are grey or black): the first
// and the last, or -1 and -1.
std::pair<long, long> PictureColumns(HWND control, const RECT& client) {
  HDC screen = GetDC(control);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ old = SelectObject(memory, bitmap);
  SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory),
               PRF_CLIENT | PRF_ERASEBKGND);
  long first = -1, last = -1, count = 0;
  for (long y = 0; y < client.bottom; ++y)
    for (long x = 0; x < client.right; ++x) {
      const COLORREF c = GetPixel(memory, x, y);
      const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
      const int spread =
          (r > g ? (r > b ? r : b) : (g > b ? g : b)) - (r < g ? (r < b ? r : b) : (g < b ? g : b));
      if (spread < 80) continue;
      if (first < 0 || x < first) first = x;
      if (x > last) last = x;
      ++count;
    }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(control, screen);
  return count >= 12 ? std::pair{first, last} : std::pair{-1L, -1L};
}

}  // namespace

namespace {

// One line for each item of `menu`: '>' first for a submenu's, then 'S' or
// 'T' (separator or text), 'D' or 'E' (disabled or enabled), a blank, the
// caption; an item's submenu follows it.
void ReadItems(HMENU menu, bool sub, std::string& out) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    char caption[512] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
    if (sub) out += '>';
    out += (info.fType & MFT_SEPARATOR) ? 'S' : 'T';
    out += (info.fState & MFS_DISABLED) ? 'D' : 'E';
    out += ' ';
    out += caption;
    out += '\n';
    if (info.hSubMenu != nullptr && !sub) ReadItems(info.hSubMenu, true, out);
  }
}

}  // namespace

// Writes the open menu's items into the mapping "VantrelMenuSpy-<pid>" (see
// ReadItems). Returns the number of its own items, or 0xFFFFFFFF.
extern "C" __declspec(dllexport) DWORD WINAPI SpyReadMenu(LPVOID) {
  Search search{nullptr};
  EnumWindows(&FindMenuWindow, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) return 0xFFFFFFFF;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(search.found, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, 3000, &result))
    return 0xFFFFFFFF;
  HMENU menu = reinterpret_cast<HMENU>(result);
  int count = GetMenuItemCount(menu);
  if (count < 0) return 0xFFFFFFFF;
  std::string out;
  ReadItems(menu, false, out);
  return WriteToMapping(out) ? static_cast<DWORD>(count) : 0xFFFFFFFF;
}

// The kind of icon a message box shows: 0 none, 1 warning, 2 information,
// 3 error, 4 question, 5 another one. The system's icons are shared within a
// process, so the box's icon handle equals the one loaded here.
extern "C" __declspec(dllexport) DWORD WINAPI SpyBoxIcon(LPVOID box) {
  HWND hwnd = static_cast<HWND>(box);
  HICON shown = nullptr;
  const int iconIds[] = {20, 0x440};  // Windows' and Wine's id of the icon control
  for (int id : iconIds) {
    HWND control = GetDlgItem(hwnd, id);
    if (control == nullptr || !IsWindowVisible(control)) continue;
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 3000, &result) && result)
      shown = reinterpret_cast<HICON>(result);
  }
  if (shown == nullptr) return 0;
  if (shown == LoadIconA(nullptr, IDI_WARNING)) return 1;
  if (shown == LoadIconA(nullptr, IDI_INFORMATION)) return 2;
  if (shown == LoadIconA(nullptr, IDI_ERROR)) return 3;
  if (shown == LoadIconA(nullptr, IDI_QUESTION)) return 4;
  return 5;
}

// Writes one line for each visible child of `window` that shows text or a
// picture into the mapping "VantrelMenuSpy-<pid>": its id, 'L' (label), 'N'
// (label that does not wrap), 'B' (button), 'O' (button drawn by the
// program), 'I' (picture) or 'E' (edit box), its rectangle in the window's
// client area (left top right bottom), the width and height its text takes
// in its own font (a label's at its width, as the label breaks it), the first
// and last column of its own picture (-1 -1 when none shows), and its text.
// Returns the number of lines, or 0xFFFFFFFF.
extern "C" __declspec(dllexport) DWORD WINAPI SpyMeasureTexts(LPVOID window) {
  HWND parent = static_cast<HWND>(window);
  std::string out;
  DWORD lines = 0;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    char kind = 0;
    if (lstrcmpiA(className, "Static") == 0) {
      const LONG type = style & SS_TYPEMASK;
      kind = type == SS_OWNERDRAW ? 'I' : type == SS_LEFTNOWORDWRAP ? 'N' : 'L';
    } else if (lstrcmpiA(className, "Button") == 0) {
      kind = (style & BS_TYPEMASK) == BS_OWNERDRAW ? 'O' : 'B';
    } else if (lstrcmpiA(className, "Edit") == 0 && (style & ES_MULTILINE) == 0) {
      kind = 'E';
    }
    if (kind == 0) continue;
    char text[1024] = {};
    GetWindowTextA(child, text, sizeof text);
    RECT client{};
    GetClientRect(child, &client);
    RECT at{};
    GetWindowRect(child, &at);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&at), 2);
    HDC dc = GetDC(child);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)));
    RECT need{0, 0, client.right, 0};
    if (kind == 'E') {
      TEXTMETRICA metrics{};
      GetTextMetricsA(dc, &metrics);
      need.bottom = metrics.tmHeight;
    } else if (text[0] != '\0') {
      const UINT breaks = kind == 'L' ? DT_WORDBREAK : DT_SINGLELINE;
      DrawTextA(dc, text, -1, &need, DT_CALCRECT | DT_EXPANDTABS | breaks);
    }
    SelectObject(dc, old);
    ReleaseDC(child, dc);
    const auto picture =
        kind == 'O' || kind == 'I' ? PictureColumns(child, client) : std::pair{-1L, -1L};
    char line[1200];
    std::snprintf(line, sizeof line, "%d %c %ld %ld %ld %ld %ld %ld %ld %ld %s\n",
                  GetDlgCtrlID(child), kind, at.left, at.top, at.right, at.bottom,
                  need.right - need.left, need.bottom - need.top, picture.first, picture.second,
                  text);
    out += line;
    ++lines;
  }
  return WriteToMapping(out) ? lines : 0xFFFFFFFF;
}

// Tells a window what the system tells it when it is moved onto a monitor of
// 144 DPI, at its place; sent from inside the program, as the message carries
// a pointer. Returns what the window answered.
extern "C" __declspec(dllexport) DWORD WINAPI SpyMoveTo144Dpi(LPVOID window) {
  HWND hwnd = static_cast<HWND>(window);
  RECT suggested{};
  GetWindowRect(hwnd, &suggested);
  return static_cast<DWORD>(SendMessageA(hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144),
                                         reinterpret_cast<LPARAM>(&suggested)));
}

namespace {

using ShellExecuteExFn = BOOL(WINAPI*)(SHELLEXECUTEINFOA*);
ShellExecuteExFn realShellExecuteEx = nullptr;
bool refuseRunas = false;

// Appends "<verb>|<file>|<parameters>|<folder>" to the file named by
// VANTREL_SPY_SHELL_LOG, then starts as asked; a refused elevation is answered
// as the system answers it, without starting.
BOOL WINAPI RecordingShellExecuteEx(SHELLEXECUTEINFOA* info) {
  char logPath[MAX_PATH + 1] = {};
  const DWORD got = GetEnvironmentVariableA("VANTREL_SPY_SHELL_LOG", logPath, sizeof logPath);
  const auto text = [](const char* s) { return std::string(s != nullptr ? s : ""); };
  const std::string verb = text(info->lpVerb);
  if (got > 0 && got < sizeof logPath) {
    const std::string line = verb + "|" + text(info->lpFile) + "|" + text(info->lpParameters) +
                             "|" + text(info->lpDirectory) + "\r\n";
    HANDLE file = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(file);
    }
  }
  if (refuseRunas && lstrcmpiA(verb.c_str(), "runas") == 0) {
    SetLastError(ERROR_CANCELLED);
    return FALSE;
  }
  return realShellExecuteEx(info);
}

}  // namespace

// Points the program's import of ShellExecuteExA at the recorder above;
// `refuse` non-null: every elevation is refused. Returns the number of import
// slots that point at the recorder.
extern "C" __declspec(dllexport) DWORD WINAPI SpyRecordShellStarts(LPVOID refuse) {
  refuseRunas = refuse != nullptr;
  HMODULE shell = GetModuleHandleA("shell32.dll");
  auto real = reinterpret_cast<ShellExecuteExFn>(
      reinterpret_cast<void*>(shell != nullptr ? GetProcAddress(shell, "ShellExecuteExA") : nullptr));
  if (real == nullptr) return 0;
  if (realShellExecuteEx == nullptr) realShellExecuteEx = real;
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return 0;
  DWORD changed = 0;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       d->Name != 0; ++d) {
    for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
         slot->u1.Function != 0; ++slot) {
      if (slot->u1.Function == reinterpret_cast<ULONG_PTR>(&RecordingShellExecuteEx)) ++changed;
      if (slot->u1.Function != reinterpret_cast<ULONG_PTR>(real)) continue;
      DWORD old = 0;
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &old);
      slot->u1.Function = reinterpret_cast<ULONG_PTR>(&RecordingShellExecuteEx);
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, old, &old);
      ++changed;
    }
  }
  return changed;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
