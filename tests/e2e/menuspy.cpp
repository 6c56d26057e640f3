// Loaded into vantrel.exe by the e2e driver: reads what only the program's own
// process can read under Wine (a pop-up menu's item texts, a message box's
// icon) and hands it back. Its functions run on threads the driver starts.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

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

}  // namespace

// Writes the open menu's items into the mapping "VantrelMenuSpy-<pid>", one
// line each: 'S' or 'T' (separator or text), 'D' or 'E' (disabled or enabled),
// a blank, the caption. Returns the number of items, or 0xFFFFFFFF.
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
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    char caption[512] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
    out += (info.fType & MFT_SEPARATOR) ? 'S' : 'T';
    out += (info.fState & MFS_DISABLED) ? 'D' : 'E';
    out += ' ';
    out += caption;
    out += '\n';
  }

  char name[64];
  std::snprintf(name, sizeof name, "VantrelMenuSpy-%lu", GetCurrentProcessId());
  HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name);
  if (mapping == nullptr) return 0xFFFFFFFF;
  void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0);
  DWORD answer = 0xFFFFFFFF;
  if (view != nullptr) {
    MEMORY_BASIC_INFORMATION region{};
    VirtualQuery(view, &region, sizeof region);
    if (out.size() < region.RegionSize) {
      std::memcpy(view, out.c_str(), out.size() + 1);
      answer = static_cast<DWORD>(count);
    }
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
  return answer;
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

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
