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

  // How many pixels of a screen rectangle are darker than `ground`.
  int Darker(const RECT& r, std::uint32_t ground) const {
    int darker = 0;
    for (int y = std::max(r.top, at_.top); y < std::min(r.bottom, at_.bottom); ++y)
      for (int x = std::max(r.left, at_.left); x < std::min(r.right, at_.right); ++x)
        if (Lightest(At(x, y)) + 16 < Darkest(ground)) ++darker;
    return darker;
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
    // The shortcut key box holds no window text, yet always shows its key or "None".
    const bool isHotKey = lstrcmpiA(className, "msctls_hotkey32") == 0;
    const bool hasText =
        isList ? e2e::Send(child, LB_GETCOUNT) > 0 : isHotKey || !e2e::Text(child).empty();
    const auto [ground, light] = screen.Ground(inner);
    const std::string name = std::string(className) + " " + std::to_string(GetDlgCtrlID(child));
    if (!dark(ground)) faults += name + " on " + Hex(ground) + "; ";
    if (hasText && light < 3) faults += name + " without light text; ";
    // Its text light, on no light patch.
    const int area = (inner.right - inner.left) * (inner.bottom - inner.top);
    const int darker = isHotKey ? screen.Darker(inner, ground) : 0;
    if (darker > 0 || (isHotKey && light * 5 > area))
      faults += name + " with " + std::to_string(darker) + " pixels darker than its ground and " +
                std::to_string(light) + " of " + std::to_string(area) + " light; ";
    const LONG type = style & BS_TYPEMASK;
    if (lstrcmpiA(className, "Button") == 0 && type != BS_AUTOCHECKBOX && type != BS_CHECKBOX)
      buttons.push_back(ground);  // check boxes sit on the surface
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

int AtDpi(int designLength, int dpi) { return MulDiv(designLength, dpi, 96); }

std::string Describe(const e2e::ShownText& t) {
  return "control " + std::to_string(t.id) + " \"" + t.text.substr(0, 30) + "\" (" +
         std::to_string(t.rect.right - t.rect.left) + " x " +
         std::to_string(t.rect.bottom - t.rect.top) + ", its text " + std::to_string(t.needed.cx) +
         " x " + std::to_string(t.needed.cy) + ")";
}

// Where a control's text shows: a label's from its top left corner, the
// rest anywhere in the control.
RECT TextArea(const e2e::ShownText& t) {
  if (t.kind != 'L' && t.kind != 'N') return t.rect;
  return {t.rect.left, t.rect.top, t.rect.left + t.needed.cx, t.rect.top + t.needed.cy};
}

// Every text of the window fits its control in the control's own font,
// measured inside the program, and no label's text runs under another
// control's; every picture a button or image was designed with shows.
void ExpectTextsFit(Context& ctx, Program& program, HWND window, int dpi, const std::string& what) {
  const auto shown = program.MeasureTexts(window);
  e2e::Require(ctx, shown.has_value() && !shown->empty(), what + ": its texts measured");
  // A button keeps 3 pixels clear inside each edge, and 4 between its picture
  // and its caption (at 96 DPI).
  const int edge = AtDpi(3, dpi), gap = AtDpi(4, dpi);
  for (const e2e::ShownText& t : *shown) {
    const LONG width = t.rect.right - t.rect.left, height = t.rect.bottom - t.rect.top;
    const std::string where = what + " at " + std::to_string(dpi) + " DPI: " + Describe(t);
    const bool pictured = t.picture.second >= t.picture.first && t.picture.first >= 0;
    switch (t.kind) {
      case 'L':
      case 'N': {
        e2e::Expect(ctx, t.needed.cx <= width && t.needed.cy <= height, where + ": text cut off");
        const RECT text = TextArea(t);
        for (const e2e::ShownText& other : *shown) {
          RECT overlap{};
          const RECT theirs = TextArea(other);
          if (&other != &t && IntersectRect(&overlap, &text, &theirs))
            e2e::Expect(ctx, false, where + ": text under " + Describe(other));
        }
        break;
      }
      case 'B':
        e2e::Expect(ctx, t.needed.cx + 2 * edge <= width && t.needed.cy + 2 * edge <= height,
                    where + ": caption cut off");
        break;
      case 'O': {
        e2e::Expect(ctx, pictured, where + ": its picture is not drawn");
        // The caption goes right of the picture.
        const LONG textRoom = width - edge - (pictured ? t.picture.second + 1 + gap : edge);
        e2e::Expect(ctx, t.needed.cx <= textRoom && t.needed.cy <= height,
                    where + ": caption cut off");
        break;
      }
      case 'I':
        e2e::Expect(ctx, pictured, where + ": its picture is not drawn");
        break;
      case 'E':
        e2e::Expect(ctx, t.needed.cy + 4 <= height, where + ": a line of text does not fit");
        break;
      default:
        break;
    }
  }
}

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
  const int webText = e2e::TextPixels(Control(ctx, web, webpage::Edit1));
  e2e::Expect(ctx, webText > 40, "the address shows in the web box: " + std::to_string(webText) +
                                     " pixels of text");
  CloseWindow(ctx, program, web);
  HWND rename = OpenRenameDialog(ctx, program, editor);
  const int renameText = e2e::TextPixels(Control(ctx, rename, titlechg::Edit1));
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
  e2e::Screenshot(ctx, "dialog-rename-dark", rename);
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

  // The entry options dialog, with its check boxes, of a title's entry.
  e2e::RemovePath(DataFolder());
  CreateDirectoryA(DataFolder().c_str(), nullptr);
  e2e::Require(ctx, e2e::WriteFileText(SettingsPath(), "[Files]\r\nSet111=C:\\windows\\notepad.exe\r\n"),
               "settings file with an entry");
  Program again;
  StartReady(ctx, again);
  editor = OpenEditor(ctx, again);
  HWND entries = Control(ctx, editor, editor::Listapps);
  PostMessageA(editor, WM_COMMAND, MAKEWPARAM(editor::Listapps, LBN_DBLCLK),
               reinterpret_cast<LPARAM>(entries));
  HWND options = WaitWindow(ctx, again, "TFrmentryopt", "a double click on the entry");
  ExpectDark(ctx, options, "the entry options dialog");
  CloseWindow(ctx, again, options);
  CloseWindow(ctx, again, editor);
  again.Stop();
}

E2E_CASE(AccessAt150PercentTheEditWindowIsAtLeastOneAndAHalfTimesItsDesign) {
  PrefixDpi dpi(144);
  Program program;
  StartReady(ctx, program);
  HWND editor = OpenEditor(ctx, program);
  RECT client{};
  GetClientRect(editor, &client);
  // Where the text needs more than 1.5 times the design, the window grows.
  e2e::Expect(ctx, client.right >= 831 && client.bottom >= 630,
              "client area at least 831 x 630, got " + std::to_string(client.right) + " x " +
                  std::to_string(client.bottom));
  // Designed rectangles: left, top, width, height at 96 DPI. The lists and
  // the Ok button hold no text that needs more: their sizes are 1.5 times the
  // design's; they move only right or down, as what is above them grows.
  struct Designed {
    int id;
    int left, top, width, height;
  };
  auto about = [](LONG actual, double expected) { return std::fabs(actual - expected) <= 1.0; };
  for (const Designed& d : {Designed{editor::Listtitles, 4, 99, 226, 126},
                            Designed{editor::Listapps, 3, 273, 533, 92},
                            Designed{editor::BitBtn1, 458, 396, 80, 21}}) {
    RECT r{};
    GetWindowRect(Control(ctx, editor, d.id), &r);
    MapWindowPoints(nullptr, editor, reinterpret_cast<POINT*>(&r), 2);
    e2e::Expect(ctx,
                r.left >= d.left * 1.5 - 1 && r.top >= d.top * 1.5 - 1 &&
                    about(r.right - r.left, d.width * 1.5) &&
                    about(r.bottom - r.top, d.height * 1.5),
                "control " + std::to_string(d.id) + " at least 1.5 times its design, got " +
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

// At every scaling the user may pick, each window's texts fit their controls
// in the fonts they are drawn with, which do not grow exactly with the DPI.
E2E_CASE(AccessAt125150And200PercentEveryTextFitsAndEveryPictureShows) {
  e2e::MadeFiles placed;
  e2e::Require(
      ctx,
      placed.Copy(ctx.spyPath.substr(0, ctx.spyPath.find_last_of('\\') + 1) + "fake_scr.exe",
                  e2e::WindowsDir() + "\\vt_scale.scr"),
      "a screensaver to choose");
  for (const DWORD each : {120, 144, 192}) {
    const int at = static_cast<int>(each);
    PrefixDpi dpi(each);
    Program program;
    StartReady(ctx, program);
    HWND editor = OpenEditor(ctx, program);
    ExpectTextsFit(ctx, program, editor, at, "the edit window");
    Click(ctx, editor, editor::Cmdany);
    HWND addFile = WaitWindow(ctx, program, "TFrmedadd", "the add-file dialog");
    ExpectTextsFit(ctx, program, addFile, at, "the add-file dialog");
    PostMessageA(addFile, WM_CLOSE, 0, 0);
    e2e::Require(ctx, e2e::WaitForWindowGone(addFile, 5000), "the add-file dialog closes");
    if (HWND box = program.WaitForWindow("#32770", 3000)) e2e::PressBoxButton(box, IDOK);
    HWND web = OpenWebDialog(ctx, program, editor);
    ExpectTextsFit(ctx, program, web, at, "the web page dialog");
    CloseWindow(ctx, program, web);
    HWND rename = OpenRenameDialog(ctx, program, editor);
    ExpectTextsFit(ctx, program, rename, at, "the rename dialog");
    CloseWindow(ctx, program, rename);
    Click(ctx, editor, editor::BitBtn2);
    HWND helpWindow = WaitWindow(ctx, program, "TFrmhelp", "the help window");
    ExpectTextsFit(ctx, program, helpWindow, at, "the help window");
    CloseWindow(ctx, program, helpWindow);
    CloseWindow(ctx, program, editor);
    HWND menu = e2e::OpenMenu(ctx, program, WM_RBUTTONDOWN, "the right menu");
    e2e::Choose(ctx, program, menu, kRightSelectScreensaver, "Select a Screensaver");
    HWND choice = WaitWindow(ctx, program, "TFrmscrsel", "the screensaver choice");
    ExpectTextsFit(ctx, program, choice, at, "the screensaver choice");
    e2e::Click(ctx, choice, scrsel::BitBtn2);
    e2e::Require(ctx, e2e::WaitForWindowGone(choice, 5000), "the screensaver choice closes");
    program.Stop();
  }
  // Moved to a monitor of another DPI, a window is laid out around its texts again.
  Program program;
  StartReady(ctx, program);
  HWND editor = OpenEditor(ctx, program);
  e2e::Require(ctx, program.MoveTo144Dpi(editor), "the edit window told of 144 DPI");
  ExpectTextsFit(ctx, program, editor, 144, "the edit window after the move");
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

// The entry options dialog at 150 % in a high-contrast scheme: its size, the
// names its boxes and check boxes give screen readers, and text that shows.
E2E_CASE(AccessEntryOptionsScaledNamedAndInHighContrast) {
  std::vector<std::unique_ptr<SchemeColour>> scheme;
  for (const auto& [name, rgb] : {std::pair{"Window", "0 0 0"},
                                  {"WindowText", "255 255 255"},
                                  {"ButtonFace", "0 0 0"},
                                  {"ButtonText", "255 255 255"}})
    scheme.push_back(std::make_unique<SchemeColour>(name, rgb));
  PrefixDpi dpi(144);
  e2e::RemovePath(DataFolder());
  CreateDirectoryA(DataFolder().c_str(), nullptr);
  e2e::Require(ctx,
               e2e::WriteFileText(SettingsPath(), "[Files]\r\nSet111=C:\\windows\\notepad.exe\r\n"),
               "settings file prepared");
  Program program;
  StartReady(ctx, program);
  HWND editor = OpenEditor(ctx, program);
  const auto focusIs = [&](int id) {
    return e2e::WaitUntil(
        [&] {
          GUITHREADINFO gui{};
          gui.cbSize = sizeof gui;
          GetGUIThreadInfo(GetWindowThreadProcessId(editor, nullptr), &gui);
          return gui.hwndFocus == Control(ctx, editor, id);
        },
        3000);
  };
  // The key goes where the focus is: on Ok once the window has put it there.
  e2e::Require(ctx, focusIs(editor::BitBtn1), "the edit window starts on Ok");
  e2e::PressKey(editor, VK_TAB);
  e2e::Require(ctx, focusIs(editor::Listapps), "Tab reaches the entry list");
  PostMessageA(Control(ctx, editor, editor::Listapps), WM_SYSKEYDOWN, VK_RETURN, 0x20000001);
  HWND dialog = WaitWindow(ctx, program, "TFrmentryopt", "Alt+Enter on the entry");
  ExpectTextsFit(ctx, program, dialog, 144, "the entry options dialog");

  RECT client{};
  GetClientRect(dialog, &client);
  e2e::Expect(ctx, client.right == 630 && client.bottom == 561,
              "client area 630 x 561, got " + std::to_string(client.right) + " x " +
                  std::to_string(client.bottom));
  ExpectNamed(ctx, Control(ctx, dialog, entryopt::EditArgs), "Arguments", "the arguments box");
  ExpectNamed(ctx, Control(ctx, dialog, entryopt::EditFolder), "Start folder", "the folder box");
  ExpectNamed(ctx, Control(ctx, dialog, entryopt::CheckAdmin), "Run as administrator",
              "the administrator check box");
  ExpectNamed(ctx, Control(ctx, dialog, entryopt::CheckFront), "If it is already running",
              "the bring-to-front check box");
  ExpectNamed(ctx, Control(ctx, dialog, entryopt::EditWait), "Wait before the next entry",
              "the wait box");
  HWND args = Control(ctx, dialog, entryopt::EditArgs);
  e2e::SetText(args, "--an argument");
  const int argsText = e2e::TextPixels(args);
  e2e::Expect(ctx, argsText > 40, "the arguments show: " + std::to_string(argsText) + " pixels");
  const int checkText = e2e::TextPixels(Control(ctx, dialog, entryopt::CheckAdmin));
  e2e::Expect(ctx, checkText > 40,
              "the check box's text shows: " + std::to_string(checkText) + " pixels");
  e2e::Screenshot(ctx, "contrast-entryoptions-144dpi", dialog);
  CloseWindow(ctx, program, dialog);
  CloseWindow(ctx, program, editor);
  program.Stop();
}
