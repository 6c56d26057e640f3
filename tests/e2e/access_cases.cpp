// Cases for users who do not use the program at 100 % with a mouse and the
// default colours: names that screen readers read, text that shows in a
// high-contrast scheme, windows at 150 % scaling, dialogs that cannot be
// minimised away from the edit window. (The keyboard on the tray icon is a
// tray case.)
#include <cmath>
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

  RECT client{};
  GetClientRect(dialog, &client);
  e2e::Expect(ctx, client.right == 630 && client.bottom == 294,
              "client area 630 x 294, got " + std::to_string(client.right) + " x " +
                  std::to_string(client.bottom));
  ExpectNamed(ctx, Control(ctx, dialog, entryopt::EditArgs), "Arguments", "the arguments box");
  ExpectNamed(ctx, Control(ctx, dialog, entryopt::EditFolder), "Start folder", "the folder box");
  ExpectNamed(ctx, Control(ctx, dialog, entryopt::CheckAdmin), "Run as administrator",
              "the administrator check box");
  ExpectNamed(ctx, Control(ctx, dialog, entryopt::CheckFront), "If it is already running",
              "the bring-to-front check box");
  HWND args = Control(ctx, dialog, entryopt::EditArgs);
  e2e::SetText(args, "--an argument");
  const int argsText = TextPixels(args);
  e2e::Expect(ctx, argsText > 40, "the arguments show: " + std::to_string(argsText) + " pixels");
  const int checkText = TextPixels(Control(ctx, dialog, entryopt::CheckAdmin));
  e2e::Expect(ctx, checkText > 40,
              "the check box's text shows: " + std::to_string(checkText) + " pixels");
  e2e::Screenshot(ctx, "contrast-entryoptions-144dpi", dialog);
  CloseWindow(ctx, program, dialog);
  CloseWindow(ctx, program, editor);
  program.Stop();
}
