// Cases for users who do not use the program at 100 % with a mouse and the
// default colours: names that screen readers read, text that shows in a
// high-contrast scheme, dark windows in dark mode, windows at 150 % scaling,
// dialogs that cannot be minimised away from the edit window. (The keyboard
// on the tray icon is a tray case.)
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "e2e.h"
#include "vantrel_ui.h"

#include <oleacc.h>

namespace {

using e2e::Context;
using e2e::Program;
using namespace e2e::ui;

HWND OpenEditor(Context& ctx, Program& program) {
  program.PostTrayCallback(WM_LBUTTONDOWN);
  HWND menu = program.WaitForMenu(5000);
  e2e::Require(ctx, menu != nullptr, "the left press opens a menu");
  program.ChooseMenuItem(menu, kLeftEdit);
  return WaitWindow(ctx, program, kEditorClass, "the edit window");
}

HWND OpenRenameDialog(Context& ctx, Program& program, HWND editor) {
  Click(ctx, editor, editor::Button1);
  return WaitWindow(ctx, program, "TFrmtitlechg", "the rename dialog");
}

// By its close box, with the box that may tell of it.
void CloseWindow(Context& ctx, Program& program, HWND window) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  e2e::Require(ctx, e2e::WaitForWindowGone(window, 5000), "the close box closes the window");
  if (HWND box = program.WaitForWindow("#32770", 1000)) e2e::PressBoxButton(box, IDOK);
}

// IAccessible's interface id, spelled out: the one in MinGW's import library
// does not match what Wine's oleacc answers to.
const IID kAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// The name a screen reader reads for a control, through the accessibility interface.
std::string AccessibleName(HWND control) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IAccessible* accessible = nullptr;
  const HRESULT got = AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                                 kAccessible, reinterpret_cast<void**>(&accessible));
  if (FAILED(got)) return "<no accessible object: " + std::to_string(got) + ">";
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  std::string text;
  if (SUCCEEDED(accessible->get_accName(self, &name)) && name != nullptr) {
    const int length = static_cast<int>(SysStringLen(name));
    text.resize(static_cast<std::size_t>(length) * 3);
    text.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, name, length, text.data(), static_cast<int>(text.size()),
                            nullptr, nullptr)));
    SysFreeString(name);
  }
  accessible->Release();
  return text;
}

void ExpectNamed(Context& ctx, HWND control, const std::string& begins, const std::string& what) {
  const std::string name = AccessibleName(control);
  e2e::Expect(ctx, name.rfind(begins, 0) == 0, what + " is named by its label, got \"" + name + "\"");
}

// Wine's accessibility interface names no list box; Windows' names it by the
// label just before it in the window order, which is what this checks.
void ExpectLabelBefore(Context& ctx, HWND control, const std::string& begins, const std::string& what) {
  HWND label = GetWindow(control, GW_HWNDPREV);
  char className[16] = {};
  GetClassNameA(label, className, sizeof className);
  const std::string text = label != nullptr ? e2e::Text(label) : "";
  e2e::Expect(ctx, lstrcmpiA(className, "Static") == 0 && text.rfind(begins, 0) == 0,
              what + " comes right after its label, got \"" + text + "\"");
}

// Pixels inside an edit box's client area, read from the screen, that are far
// from its background: the text that shows. The selection is taken away
// first, as its highlight would count.
int TextPixels(HWND control) {
  e2e::Send(control, EM_SETSEL, 0, 0);
  RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  RECT r{};
  GetClientRect(control, &r);
  MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&r), 2);
  HDC screen = GetDC(nullptr);
  const COLORREF background = GetPixel(screen, r.left + 1, r.top + 1);
  int count = 0;
  for (int y = r.top + 1; y < r.bottom - 1; ++y)
    for (int x = r.left + 1; x < r.right - 1; ++x) {
      const COLORREF c = GetPixel(screen, x, y);
      const int distance = std::abs(GetRValue(c) - GetRValue(background)) +
                           std::abs(GetGValue(c) - GetGValue(background)) +
                           std::abs(GetBValue(c) - GetBValue(background));
      if (distance > 200) ++count;
    }
  ReleaseDC(nullptr, screen);
  return count;
}

// A colour of the prefix's scheme, set for the programs started while it lives.
class SchemeColour {
 public:
  SchemeColour(const char* name, const char* rgb)
      : restore_("Control Panel\\Colors", name) {
    e2e::WriteRegString("Control Panel\\Colors", name, rgb);
  }

 private:
  e2e::RestoreRegValue restore_;
};

// The prefix's DPI (150 % is 144) for the programs started while it lives.
class PrefixDpi {
 public:
  explicit PrefixDpi(DWORD dpi) { e2e::WriteRegDword(kDesktopKey, "LogPixels", dpi); }

 private:
  e2e::RestoreRegValue restore_{kDesktopKey, "LogPixels"};
};

// --- Colours read from the screen ---------------------------------------------------------

// A window's pixels as the screen shows them, in screen coordinates.
class ScreenPixels {
 public:
  explicit ScreenPixels(HWND window) {
    GetWindowRect(window, &at_);
    const int width = at_.right - at_.left, height = at_.bottom - at_.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, at_.left, at_.top, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    if (first != nullptr) pixels_.assign(first, first + static_cast<std::size_t>(width) * height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
  }

  // 0xRRGGBB at a screen point.
  std::uint32_t At(int x, int y) const {
    return pixels_[static_cast<std::size_t>(y - at_.top) * (at_.right - at_.left) +
                   (x - at_.left)] &
           0xFFFFFF;
  }
  // The commonest colour of a screen rectangle, leaving out the rectangles in
  // `holes`, and how many of its pixels are light (text on a dark ground).
  std::pair<std::uint32_t, int> Ground(const RECT& r, const std::vector<RECT>& holes = {}) const {
    std::map<std::uint32_t, int> counts;
    int light = 0;
    for (int y = std::max(r.top, at_.top); y < std::min(r.bottom, at_.bottom); ++y)
      for (int x = std::max(r.left, at_.left); x < std::min(r.right, at_.right); ++x) {
        const POINT p{x, y};
        if (std::any_of(holes.begin(), holes.end(), [&](const RECT& h) { return PtInRect(&h, p); }))
          continue;
        const std::uint32_t c = At(x, y);
        ++counts[c];
        if (Darkest(c) >= 160) ++light;
      }
    std::uint32_t commonest = 0;
    int most = -1;
    for (const auto& [colour, count] : counts)
      if (count > most) commonest = colour, most = count;
    return {commonest, light};
  }

  static std::uint32_t Lightest(std::uint32_t c) {
    return std::max({c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF});
  }
  static std::uint32_t Darkest(std::uint32_t c) {
    return std::min({c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF});
  }

 private:
  RECT at_{};
  std::vector<std::uint32_t> pixels_;
};

std::string Hex(std::uint32_t c) {
  char text[8];
  wsprintfA(text, "%06X", c);
  return text;
}

std::vector<RECT> ChildRects(HWND window) {
  std::vector<RECT> rects;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r{};
    if (IsWindowVisible(child) && GetWindowRect(child, &r)) rects.push_back(r);
  }
  return rects;
}

RECT ClientOnScreen(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The commonest colour of a window's client area around its controls.
std::uint32_t Surface(HWND window) {
  return ScreenPixels(window).Ground(ClientOnScreen(window), ChildRects(window)).first;
}

// What is not dark in a window: its surface, then every control's ground
// (inside its edges and scroll bars) and, where it holds text, that the text
// is light; buttons of both kinds on one ground. Empty when all is dark.
std::string NotDark(HWND window) {
  const ScreenPixels screen(window);
  // A screen that could not be read gives black, which is no colour of ours.
  auto dark = [](std::uint32_t c) { return ScreenPixels::Lightest(c) <= 80 && c != 0; };
  std::string faults;
  std::vector<std::uint32_t> buttons;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    const bool isStatic = lstrcmpiA(className, "Static") == 0;
    if (isStatic && (style & SS_TYPEMASK) == SS_OWNERDRAW) continue;  // a picture
    const RECT inner = ClientOnScreen(child);
    const bool isList = lstrcmpiA(className, "ListBox") == 0;
    const bool hasText = isList ? e2e::Send(child, LB_GETCOUNT) > 0 : !e2e::Text(child).empty();
    const auto [ground, light] = screen.Ground(inner);
    const std::string name = std::string(className) + " " + std::to_string(GetDlgCtrlID(child));
    if (!dark(ground)) faults += name + " on " + Hex(ground) + "; ";
    if (hasText && light < 3) faults += name + " without light text; ";
    if (lstrcmpiA(className, "Button") == 0) buttons.push_back(ground);
  }
  const std::uint32_t surface = screen.Ground(ClientOnScreen(window), ChildRects(window)).first;
  if (!dark(surface)) faults += "the surface " + Hex(surface) + "; ";
  for (std::uint32_t b : buttons)
    if (b != buttons.front())
      faults += "buttons on " + Hex(b) + " and " + Hex(buttons.front()) + "; ";
  return faults;
}

void ExpectDark(Context& ctx, HWND window, const std::string& what) {
  std::string faults;
  e2e::WaitUntil([&] { return (faults = NotDark(window)).empty(); }, 3000);
  e2e::Expect(ctx, faults.empty(), what + " is dark with light text: " + faults);
}

inline const char kPersonalizeKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

// Windows' app mode for the programs started while it lives, and switched as
// Windows switches it: the value, then the broadcast.
class AppMode {
 public:
  explicit AppMode(bool dark) { Set(dark); }
  void Set(bool dark, HWND open = nullptr) {
    e2e::WriteRegDword(kPersonalizeKey, "AppsUseLightTheme", dark ? 0 : 1);
    if (open != nullptr)
      SendMessageTimeoutA(open, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("ImmersiveColorSet"),
                          SMTO_ABORTIFHUNG, 5000, nullptr);
  }

 private:
  e2e::RestoreRegValue restore_{kPersonalizeKey, "AppsUseLightTheme"};
};

}  // namespace

E2E_CASE(AccessListsAndBoxesAreNamedByTheirLabels) {
  Program program;
  StartReady(ctx, program);
  HWND editor = OpenEditor(ctx, program);
  ExpectLabelBefore(ctx, Control(ctx, editor, editor::Listtitles), "Titles:  Type in your own name.",
                    "the title list");
  ExpectLabelBefore(ctx, Control(ctx, editor, editor::Listapps),
              "Program list associated with the title name above.", "the entry list");
  HWND web = OpenWebDialog(ctx, program, editor);
  ExpectNamed(ctx, Control(ctx, web, webpage::Edit1), "You can also add many webpages",
              "the web address box");
  CloseWindow(ctx, program, web);
  HWND rename = OpenRenameDialog(ctx, program, editor);
  ExpectNamed(ctx, Control(ctx, rename, titlechg::Edit1), "Type a new title name",
              "the rename box");
  ExpectLabelBefore(ctx, Control(ctx, rename, titlechg::HotKey1), "&Shortcut key:",
                    "the shortcut key box");
  CloseWindow(ctx, program, rename);
  CloseWindow(ctx, program, editor);
}

E2E_CASE(AccessHighContrastTextShowsInEveryBox) {
  std::vector<std::unique_ptr<SchemeColour>> scheme;
  for (const auto& [name, rgb] : {std::pair{"Window", "0 0 0"}, {"WindowText", "255 255 255"},
                                  {"ButtonFace", "0 0 0"}, {"ButtonText", "255 255 255"}})
    scheme.push_back(std::make_unique<SchemeColour>(name, rgb));
  Program program;
  StartReady(ctx, program);
  HWND editor = OpenEditor(ctx, program);
  HWND web = OpenWebDialog(ctx, program, editor);
  e2e::Screenshot(ctx, "contrast-webpage", web);
  const int webText = TextPixels(Control(ctx, web, webpage::Edit1));
  e2e::Expect(ctx, webText > 40, "the address shows in the web box: " + std::to_string(webText) +
                                     " pixels of text");
  CloseWindow(ctx, program, web);
  HWND rename = OpenRenameDialog(ctx, program, editor);
  const int renameText = TextPixels(Control(ctx, rename, titlechg::Edit1));
  e2e::Expect(ctx, renameText > 40, "the name shows in the rename box: " +
                                        std::to_string(renameText) + " pixels of text");
  CloseWindow(ctx, program, rename);
  CloseWindow(ctx, program, editor);
  program.Stop();
}

E2E_CASE(AccessDarkModeDarkensEveryWindowAndFollowsTheSwitch) {
  AppMode mode(true);
  Program program;
  StartReady(ctx, program);
  HWND editor = OpenEditor(ctx, program);
  ExpectDark(ctx, editor, "the edit window");
  e2e::Screenshot(ctx, "editor-dark", editor);
  HWND web = OpenWebDialog(ctx, program, editor);
  ExpectDark(ctx, web, "the web page dialog");
  e2e::Screenshot(ctx, "dialog-webpage-dark", web);
  CloseWindow(ctx, program, web);
  HWND rename = OpenRenameDialog(ctx, program, editor);
  ExpectDark(ctx, rename, "the rename dialog");
  CloseWindow(ctx, program, rename);
  Click(ctx, editor, editor::Cmdany);
  HWND addFile = WaitWindow(ctx, program, "TFrmedadd", "the add-file dialog");
  ExpectDark(ctx, addFile, "the add-file dialog");
  CloseWindow(ctx, program, addFile);
  Click(ctx, editor, editor::BitBtn2);
  HWND help = WaitWindow(ctx, program, "TFrmhelp", "the help window");
  ExpectDark(ctx, help, "the help window");
  CloseWindow(ctx, program, help);

  // Switched while the window is open: light at once, and dark again.
  mode.Set(false, editor);
  std::uint32_t surface = 0;
  const bool grey = e2e::WaitUntil([&] { return (surface = Surface(editor)) == 0xE8E8E8; }, 3000);
  e2e::Expect(ctx, grey, "switched to light, the edit window is grey again, got " + Hex(surface));
  mode.Set(true, editor);
  ExpectDark(ctx, editor, "the edit window switched back to dark");
  CloseWindow(ctx, program, editor);

  // The choice lists the screensavers it finds: one is enough, never run.
  const std::string screensaver = e2e::WindowsDir() + "\\vt_dark.scr";
  e2e::Require(ctx, e2e::WriteFileText(screensaver, ""), "a screensaver file placed");
  HWND menu = e2e::OpenMenu(ctx, program, WM_RBUTTONDOWN, "the right press");
  e2e::Choose(ctx, program, menu, kRightSelectScreensaver, "Select a Screensaver");
  HWND choice = WaitWindow(ctx, program, "TFrmscrsel", "the screensaver choice");
  ExpectDark(ctx, choice, "the screensaver choice");
  PostMessageA(choice, WM_CLOSE, 0, 0);
  e2e::Expect(ctx, e2e::WaitForWindowGone(choice, 5000), "the screensaver choice closes");
  e2e::RemovePath(screensaver);
  program.Stop();
}

E2E_CASE(AccessAt150PercentTheEditWindowIsOneAndAHalfTimesItsDesign) {
  PrefixDpi dpi(144);
  Program program;
  StartReady(ctx, program);
  HWND editor = OpenEditor(ctx, program);
  RECT client{};
  GetClientRect(editor, &client);
  auto about = [](LONG actual, double expected) { return std::fabs(actual - expected) <= 1.0; };
  e2e::Expect(ctx, about(client.right, 554 * 1.5) && about(client.bottom, 420 * 1.5),
              "client area 831 x 630, got " + std::to_string(client.right) + " x " +
                  std::to_string(client.bottom));
  // Designed rectangles: left, top, width, height at 96 DPI.
  struct Designed {
    int id;
    int left, top, width, height;
  };
  for (const Designed& d : {Designed{editor::Listtitles, 4, 99, 226, 126},
                            Designed{editor::Listapps, 3, 273, 533, 92},
                            Designed{editor::BitBtn1, 458, 396, 80, 21}}) {
    RECT r{};
    GetWindowRect(Control(ctx, editor, d.id), &r);
    MapWindowPoints(nullptr, editor, reinterpret_cast<POINT*>(&r), 2);
    e2e::Expect(ctx,
                about(r.left, d.left * 1.5) && about(r.top, d.top * 1.5) &&
                    about(r.right, (d.left + d.width) * 1.5) && about(r.bottom, (d.top + d.height) * 1.5),
                "control " + std::to_string(d.id) + " at 1.5 times its design, got " +
                    std::to_string(r.left) + "," + std::to_string(r.top) + " - " +
                    std::to_string(r.right) + "," + std::to_string(r.bottom));
  }
  e2e::Screenshot(ctx, "editor-144dpi", editor);
  // Scaled up, a window with a designed place still opens on the screen.
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const auto inside = [&](HWND window, const std::string& what) {
    RECT r{};
    GetWindowRect(window, &r);
    e2e::Expect(ctx, r.left >= work.left && r.top >= work.top && r.right <= work.right &&
                         r.bottom <= work.bottom,
                what + " inside the work area, got " + std::to_string(r.left) + "," +
                    std::to_string(r.top) + " - " + std::to_string(r.right) + "," +
                    std::to_string(r.bottom));
  };
  inside(editor, "the edit window");
  HWND web = OpenWebDialog(ctx, program, editor);
  inside(web, "the web page dialog");
  CloseWindow(ctx, program, web);
  HWND rename = OpenRenameDialog(ctx, program, editor);
  inside(rename, "the rename dialog");
  CloseWindow(ctx, program, rename);
  CloseWindow(ctx, program, editor);
  program.Stop();
}

E2E_CASE(AccessWindowsOnTheTaskbarAndDialogsGoDownWithTheEditor) {
  Program program;
  StartReady(ctx, program);
  HWND editor = OpenEditor(ctx, program);
  e2e::Expect(ctx, (GetWindowLongA(editor, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0,
              "the edit window has a taskbar button");
  HWND rename = OpenRenameDialog(ctx, program, editor);
  e2e::Expect(ctx, (GetWindowLongA(rename, GWL_EXSTYLE) & WS_EX_APPWINDOW) == 0,
              "the rename dialog has none");
  PostMessageA(rename, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  e2e::Expect(ctx, e2e::WaitUntil([&] { return IsIconic(editor) != FALSE; }, 3000),
              "minimising the dialog minimises the edit window with it");
  ShowWindowAsync(editor, SW_RESTORE);  // as the taskbar button does
  e2e::Expect(ctx, e2e::WaitUntil([&] { return !IsIconic(editor); }, 3000),
              "the edit window comes back");
  e2e::Expect(ctx, e2e::WaitUntil([&] { return IsWindowVisible(rename) != FALSE; }, 3000),
              "and the dialog with it");
  CloseWindow(ctx, program, rename);
  CloseWindow(ctx, program, editor);
}
