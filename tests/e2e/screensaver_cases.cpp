// The screensaver switches of the left menu (active flag, password on both
// platform families, an unopenable desktop key) and the choice dialog with the
// activation command, driven through the real menus.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "e2e.h"
#include "vantrel_ui.h"

namespace {

using e2e::Box;
using e2e::Context;
using e2e::Program;
using namespace e2e::ui;
using e2e::SameText;
using e2e::TempDir;
using e2e::WindowsDir;
using e2e::SystemDir;
using e2e::MadeFiles;
using e2e::RestoreRegValue;

// --- Registry values of any type
// ---------------------------------------------------

struct RegValue {
  DWORD type = REG_NONE;
  std::string data;
};

std::optional<RegValue> ReadRegValue(const std::string& key, const std::string& name) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
    return std::nullopt;
  RegValue value;
  value.data.assign(4096, '\0');
  DWORD size = static_cast<DWORD>(value.data.size());
  LONG status = RegQueryValueExA(h, name.c_str(), nullptr, &value.type,
                                 reinterpret_cast<BYTE*>(value.data.data()), &size);
  RegCloseKey(h);
  if (status != ERROR_SUCCESS) return std::nullopt;
  value.data.resize(size);
  return value;
}

bool WriteRegDword(const std::string& key, const std::string& name, DWORD number) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &h) != ERROR_SUCCESS)
    return false;
  LONG status = RegSetValueExA(h, name.c_str(), 0, REG_DWORD,
                               reinterpret_cast<const BYTE*>(&number), sizeof number);
  RegCloseKey(h);
  return status == ERROR_SUCCESS;
}

std::optional<DWORD> AsDword(const std::optional<RegValue>& value) {
  if (!value || value->type != REG_DWORD || value->data.size() != 4) return std::nullopt;
  DWORD number = 0;
  std::copy(value->data.begin(), value->data.end(), reinterpret_cast<char*>(&number));
  return number;
}

// Takes the desktop key away (kept as a copy under another name) and brings it
// back when the case ends: an absent key cannot be opened with full access
// either, and the program must not create it.
class DesktopKeyAway {
 public:
  DesktopKeyAway() {
    HKEY parent = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel", 0, KEY_ALL_ACCESS, &parent) !=
        ERROR_SUCCESS)
      return;
    RegDeleteTreeA(parent, kSaved);
    HKEY saved = nullptr;
    if (RegCreateKeyExA(parent, kSaved, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &saved, nullptr) ==
        ERROR_SUCCESS) {
      if (RegCopyTreeA(parent, "Desktop", saved) == ERROR_SUCCESS &&
          RegDeleteTreeA(parent, "Desktop") == ERROR_SUCCESS) {
        RegDeleteKeyA(parent, "Desktop");
        away_ = true;
      }
      RegCloseKey(saved);
    }
    RegCloseKey(parent);
  }
  ~DesktopKeyAway() {
    if (!away_) return;
    HKEY parent = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel", 0, KEY_ALL_ACCESS, &parent) !=
        ERROR_SUCCESS)
      return;
    HKEY desktop = nullptr;
    if (RegCreateKeyExA(parent, "Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &desktop,
                        nullptr) == ERROR_SUCCESS) {
      if (RegCopyTreeA(parent, kSaved, desktop) == ERROR_SUCCESS) RegDeleteTreeA(parent, kSaved);
      RegCloseKey(desktop);
    }
    RegDeleteKeyA(parent, kSaved);
    RegCloseKey(parent);
  }
  DesktopKeyAway(const DesktopKeyAway&) = delete;
  DesktopKeyAway& operator=(const DesktopKeyAway&) = delete;
  bool Away() const { return away_; }

 private:
  static constexpr const char* kSaved = "Desktop (saved by e2e)";
  bool away_ = false;
};

// --- Files
// ------------------------------------------------------------------------------

std::string FakeScreensaver(const Context& ctx) {
  // Built beside the spy DLL, which lies beside the driver.
  return ctx.spyPath.substr(0, ctx.spyPath.find_last_of('\\') + 1) + "fake_scr.exe";
}

// Every *.scr of a folder as the system lists it, in its order.
std::vector<std::string> ScreensaversIn(const std::string& dir) {
  std::vector<std::string> paths;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir + "\\*.scr").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return paths;
  do {
    paths.push_back(dir + "\\" + found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return paths;
}

// Points the fake screensaver's log at a file of the case's own, for the
// processes started after it; undone when the case ends.
class ScrLog {
 public:
  ScrLog() : path_(TempDir() + "\\vantrel-e2e-scr.log") {
    e2e::RemovePath(path_);
    SetEnvironmentVariableA(kScrLogVariable, path_.c_str());
  }
  ~ScrLog() {
    SetEnvironmentVariableA(kScrLogVariable, nullptr);
    e2e::RemovePath(path_);
  }
  ScrLog(const ScrLog&) = delete;
  ScrLog& operator=(const ScrLog&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Moves every *.scr of both folders aside and puts them back when the case
// ends.
class ScreensaversAside {
 public:
  ScreensaversAside() {
    const std::string aside = TempDir() + "\\vantrel-e2e-aside";
    CreateDirectoryA(aside.c_str(), nullptr);
    int n = 0;
    for (const std::string& dir : {WindowsDir(), SystemDir()})
      for (const std::string& path : ScreensaversIn(dir)) {
        const std::string to = aside + "\\" + std::to_string(n++) + ".held";
        if (MoveFileExA(path.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING))
          moved_.push_back({path, to});
      }
  }
  ~ScreensaversAside() {
    for (const auto& [from, to] : moved_) MoveFileExA(to.c_str(), from.c_str(), 0);
  }
  ScreensaversAside(const ScreensaversAside&) = delete;
  ScreensaversAside& operator=(const ScreensaversAside&) = delete;

 private:
  std::vector<std::pair<std::string, std::string>> moved_;
};

std::string ReadChoice() {
  char value[1024] = {};
  GetPrivateProfileStringA("SSaver", "Name", "<absent>", value, sizeof value,
                           SettingsPath().c_str());
  return value;
}

bool WriteChoice(const std::string& path) {
  return WritePrivateProfileStringA("SSaver", "Name", path.c_str(), SettingsPath().c_str()) !=
         FALSE;
}

struct ScrStart {
  DWORD tick = 0;
  std::string module;
  std::string commandLine;
};

// The starts the fake screensaver recorded, one line each.
std::vector<ScrStart> ReadStarts(const std::string& log) {
  std::vector<ScrStart> starts;
  std::string text = e2e::ReadFileText(log).value_or("");
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    at = end + 2;
    std::size_t bar1 = line.find('|');
    std::size_t bar2 = bar1 == std::string::npos ? bar1 : line.find('|', bar1 + 1);
    if (bar2 == std::string::npos) continue;
    ScrStart start;
    start.tick = static_cast<DWORD>(std::strtoul(line.substr(0, bar1).c_str(), nullptr, 10));
    start.module = line.substr(bar1 + 1, bar2 - bar1 - 1);
    start.commandLine = line.substr(bar2 + 1);
    starts.push_back(start);
  }
  return starts;
}

// --- The program and its menus
// ------------------------------------------------------------

void FreshUser() {
  e2e::DeleteRegValue(e2e::kRunKey, kRunValue);
  e2e::RemovePath(DataFolder());
}

void StartSettled(Context& ctx, Program& program) {
  StartReady(ctx, program);
  e2e::Require(ctx, e2e::WaitUntil([] { return e2e::IsFile(SettingsPath()); }, 5000),
               "the settings file is written");
  // Answered from the message loop, which runs once start-up has written the
  // settings file; the driver's own writes come after that.
  DWORD_PTR unused = 0;
  e2e::Require(ctx,
               SendMessageTimeoutA(program.MainWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000,
                                   &unused) != 0,
               "the program's message loop runs");
}

// The captions of the two switches in the open left menu.
std::pair<std::string, std::string> SwitchCaptions(Context& ctx, Program& program,
                                                   const std::string& when) {
  auto items = program.ReadMenu();
  e2e::Require(ctx, items.has_value() && items->size() == 24,
               when + ": the left menu's 24 items can be read");
  return {WithoutMarks((*items)[kSetSS].caption), WithoutMarks((*items)[kSetPwd].caption)};
}

// A left press that the refresh breaks off with an error box, and no menu.
void ExpectErrorInsteadOfMenu(Context& ctx, Program& program, const std::string& text,
                              const std::string& when) {
  program.PostTrayCallback(WM_LBUTTONDOWN);
  HWND box = ExpectBox(ctx, program, "Vantrel", text, "error", {IDOK}, when);
  e2e::Expect(ctx, program.WaitForMenu(0) == nullptr, when + ": no menu under the box");
  Answer(ctx, box, IDOK, when);
  e2e::Expect(ctx, program.WaitForMenu(800) == nullptr, when + ": no menu after the box");
  e2e::Expect(ctx, program.Running(), when + ": the program runs on");
}

}  // namespace

// --- Switches
// ----------------------------------------------------------------------------------

E2E_CASE(ScreensaverActiveSwitchFlipsFlagAndCaption) {
  FreshUser();
  RestoreRegValue restore(kDesktopKey, "ScreenSaveActive");
  Program program;
  StartSettled(ctx, program);

  BOOL before = FALSE;
  e2e::Require(ctx, SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &before, 0) != FALSE,
               "the driver reads the flag");
  const char* onCaption = "Disable Screensaver";
  const char* offCaption = "Enable Screensaver";
  HWND menu = OpenMenu(ctx, program, WM_LBUTTONDOWN, "first press");
  e2e::ExpectEq(ctx, SwitchCaptions(ctx, program, "first press").first,
                before ? onCaption : offCaption, "first press: item 21 names the opposite");
  Choose(ctx, program, menu, kSetSS, "first switch");

  // Two flips bring the flag back; each shows to another process and in the
  // next caption. The switch asks for no profile update, so the value saved
  // under the desktop key stays as it was.
  const std::optional<std::string> saved = e2e::ReadRegString(kDesktopKey, "ScreenSaveActive");
  bool expectOn = !before;
  for (int flip = 1; flip <= 2; ++flip) {
    const std::string when = "after flip " + std::to_string(flip);
    BOOL now = before;
    e2e::Expect(ctx,
                e2e::WaitUntil(
                    [&] {
                      SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &now, 0);
                      return (now != FALSE) == expectOn;
                    },
                    3000),
                when + ": the system's flag reads " + (expectOn ? "on" : "off"));
    e2e::Expect(ctx, e2e::ReadRegString(kDesktopKey, "ScreenSaveActive") == saved,
                when + ": the saved ScreenSaveActive is not rewritten");
    e2e::Expect(ctx, program.WaitForWindow("#32770", 300) == nullptr, when + ": no message");
    menu = OpenMenu(ctx, program, WM_LBUTTONDOWN, when);
    e2e::ExpectEq(ctx, SwitchCaptions(ctx, program, when).first, expectOn ? onCaption : offCaption,
                  when + ": item 21");
    if (flip == 2) {
      Dismiss(ctx, menu);
      break;
    }
    Choose(ctx, program, menu, kSetSS, "second switch");
    expectOn = !expectOn;
  }
}

E2E_CASE(ScreensaverPasswordNtStringValue) {
  FreshUser();
  RestoreRegValue restore(kDesktopKey, kNtPassword);
  e2e::DeleteRegValue(kDesktopKey, kNtPassword);
  Program program;
  StartSettled(ctx, program);

  HWND menu = OpenMenu(ctx, program, WM_LBUTTONDOWN, "absent value");
  e2e::ExpectEq(ctx, SwitchCaptions(ctx, program, "absent value").second, "Enable Password",
                "absent value: item 22");
  Choose(ctx, program, menu, kSetPwd, "enable");
  e2e::Expect(
      ctx, e2e::WaitUntil([] { return ReadRegValue(kDesktopKey, kNtPassword).has_value(); }, 3000),
      "enable: the value is created");
  auto written = ReadRegValue(kDesktopKey, kNtPassword);
  e2e::Expect(ctx, written && written->type == REG_SZ, "enable: written as REG_SZ");
  e2e::Expect(ctx, written && written->data == std::string("1", 2),
              "enable: \"1\" with its terminating zero");

  menu = OpenMenu(ctx, program, WM_LBUTTONDOWN, "after enable");
  e2e::ExpectEq(ctx, SwitchCaptions(ctx, program, "after enable").second, "Disable Password",
                "after enable: item 22");
  Choose(ctx, program, menu, kSetPwd, "disable");
  e2e::Expect(
      ctx, e2e::WaitUntil([] { return e2e::ReadRegString(kDesktopKey, kNtPassword) == "0"; }, 3000),
      "disable: \"0\" written");
  menu = OpenMenu(ctx, program, WM_LBUTTONDOWN, "after disable");
  e2e::ExpectEq(ctx, SwitchCaptions(ctx, program, "after disable").second, "Enable Password",
                "after disable: item 22");
  Dismiss(ctx, menu);

  e2e::Require(ctx, WriteRegDword(kDesktopKey, kNtPassword, 1), "REG_DWORD value prepared");
  ExpectErrorInsteadOfMenu(ctx, program, "Invalid data type for 'ScreensaverIsSecure'",
                           "REG_DWORD value");
  // The right menu does not read the value.
  Dismiss(ctx, OpenMenu(ctx, program, WM_RBUTTONDOWN, "right press"));
}

E2E_CASE(ScreensaverPassword9xFamilyUnderWin98) {
  FreshUser();
  RestoreRegValue version(kWineKey, "Version");
  RestoreRegValue restore(kDesktopKey, k9xPassword);
  // Read by Wine when a process starts: the program sees the older family.
  e2e::Require(ctx, e2e::WriteRegString(kWineKey, "Version", "win98"), "Wine set to win98");
  e2e::DeleteRegValue(kDesktopKey, k9xPassword);
  Program program;
  StartSettled(ctx, program);

  ExpectErrorInsteadOfMenu(ctx, program, "Failed to get data for 'Screensaveusepassword'",
                           "absent value");

  e2e::Require(ctx, WriteRegDword(kDesktopKey, k9xPassword, 0), "value 0 prepared");
  HWND menu = OpenMenu(ctx, program, WM_LBUTTONDOWN, "value 0");
  e2e::ExpectEq(ctx, SwitchCaptions(ctx, program, "value 0").second, "Enable Password",
                "value 0: item 22");
  Choose(ctx, program, menu, kSetPwd, "enable");
  e2e::Expect(ctx,
              e2e::WaitUntil(
                  [] { return AsDword(ReadRegValue(kDesktopKey, k9xPassword)) == DWORD{1}; }, 3000),
              "enable: 1 written as REG_DWORD");
  menu = OpenMenu(ctx, program, WM_LBUTTONDOWN, "after enable");
  e2e::ExpectEq(ctx, SwitchCaptions(ctx, program, "after enable").second, "Disable Password",
                "after enable: item 22");
  Dismiss(ctx, menu);
  e2e::Expect(ctx,
              !ReadRegValue(kDesktopKey, kNtPassword) ||
                  ReadRegValue(kDesktopKey, kNtPassword)->type != REG_DWORD,
              "the NT value is not touched");
}

E2E_CASE(ScreensaverDesktopKeyMissingWarnsAndMenuOpens) {
  FreshUser();
  Program program;
  StartSettled(ctx, program);
  DesktopKeyAway away;
  e2e::Require(ctx, away.Away(), "the desktop key is taken away");

  program.PostTrayCallback(WM_LBUTTONDOWN);
  HWND box = ExpectBox(ctx, program, "Warning", kDesktopKeyWarning, "warning", {IDOK}, "press");
  e2e::Screenshot(ctx, "screensaver-desktop-key-warning");
  Answer(ctx, box, IDOK, "press");
  HWND menu = program.WaitForMenu(5000);
  e2e::Require(ctx, menu != nullptr, "press: the menu opens after the box");
  auto items = program.ReadMenu();
  e2e::Require(ctx, items && items->size() == 24, "the left menu's items can be read");
  e2e::ExpectEq(ctx, WithoutMarks((*items)[kSetPwd].caption), "", "item 22 keeps no caption");

  Choose(ctx, program, menu, kSetPwd, "click of item 22");
  box = ExpectBox(ctx, program, "Warning", kDesktopKeyWarning, "warning", {IDOK},
                  "click of item 22");
  Answer(ctx, box, IDOK, "click of item 22");
  e2e::Expect(ctx, program.WaitForWindow("#32770", 500) == nullptr, "click: nothing more");
  HKEY desktop = nullptr;
  const bool created =
      RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_READ, &desktop) == ERROR_SUCCESS;
  if (created) RegCloseKey(desktop);
  e2e::Expect(ctx, !created, "the program does not create the key");
  e2e::Expect(ctx, program.Running(), "the program runs on");
}

// --- Choice dialog and activation
// --------------------------------------------------------

namespace {

struct Child {
  HWND hwnd = nullptr;
  std::string className;
  RECT rect{};  // in the dialog's client coordinates
};

std::vector<Child> ChildrenOf(HWND parent) {
  std::vector<Child> found;
  for (HWND hwnd = GetWindow(parent, GW_CHILD); hwnd != nullptr;
       hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
    Child child;
    child.hwnd = hwnd;
    char name[32] = {};
    GetClassNameA(hwnd, name, sizeof name);
    child.className = name;
    GetWindowRect(hwnd, &child.rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&child.rect), 2);
    found.push_back(child);
  }
  return found;
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 3000, &result);
  return static_cast<LRESULT>(result);
}

std::string TextOf(HWND window) {
  char text[1024] = {};
  Ask(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

// The parts of the open choice dialog that the cases use.
struct ChoiceDialog {
  HWND window = nullptr;
  HWND list = nullptr;
  HWND current = nullptr;  // the label beside "Current Selection:"
  HWND ok = nullptr;
  HWND cancel = nullptr;
  std::vector<Child> children;
};

ChoiceDialog OpenChoiceDialog(Context& ctx, Program& program, const std::string& when) {
  HWND menu = OpenMenu(ctx, program, WM_RBUTTONDOWN, when);
  Choose(ctx, program, menu, kRightSelectScreensaver, when);
  ChoiceDialog d;
  d.window = program.WaitForWindow("TFrmscrsel", 5000);
  e2e::Require(ctx, d.window != nullptr, when + ": the choice dialog opens");
  d.children = ChildrenOf(d.window);
  HWND caption3 = nullptr;
  for (const Child& c : d.children) {
    if (SameText(c.className, "ListBox")) d.list = c.hwnd;
    if (SameText(c.className, "Button") && TextOf(c.hwnd) == "OK") d.ok = c.hwnd;
    if (SameText(c.className, "Button") && TextOf(c.hwnd) == "Cancel") d.cancel = c.hwnd;
    if (SameText(c.className, "Static") && TextOf(c.hwnd) == "Current Selection:")
      caption3 = c.hwnd;
  }
  e2e::Require(ctx, d.list && d.ok && d.cancel && caption3,
               when + ": list, OK, Cancel and \"Current Selection:\" are there");
  // The current choice is the label on the same line, right of that caption.
  RECT at{};
  for (const Child& c : d.children)
    if (c.hwnd == caption3) at = c.rect;
  for (const Child& c : d.children)
    if (SameText(c.className, "Static") && c.hwnd != caption3 && c.rect.top == at.top &&
        c.rect.left >= at.right)
      d.current = c.hwnd;
  e2e::Require(ctx, d.current != nullptr, when + ": the current-choice label is there");
  return d;
}

// Read as wide text: Wine hands another process only the first character of
// an ANSI LB_GETTEXT.
std::vector<std::string> ListLines(HWND list) {
  std::vector<std::string> lines;
  const LRESULT count = Ask(list, LB_GETCOUNT);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t wide[1024] = {};
    DWORD_PTR got = 0;
    if (Ask(list, LB_GETTEXTLEN, static_cast<WPARAM>(i)) >= 1024) continue;
    SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide),
                        SMTO_ABORTIFHUNG, 3000, &got);
    char line[2048] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, line, sizeof line, nullptr, nullptr);
    lines.push_back(line);
  }
  return lines;
}

std::ptrdiff_t IndexOf(const std::vector<std::string>& lines, const std::string& path) {
  auto found = std::find_if(lines.begin(), lines.end(),
                            [&](const std::string& line) { return SameText(line, path); });
  return found == lines.end() ? -1 : found - lines.begin();
}

// Whether a line names a file directly inside `dir`.
bool InFolder(const std::string& line, const std::string& dir) {
  return line.size() > dir.size() + 1 && SameText(line.substr(0, dir.size() + 1), dir + "\\") &&
         line.find('\\', dir.size() + 1) == std::string::npos;
}

void CloseDialog(Context& ctx, const ChoiceDialog& d, HWND button, const std::string& when) {
  Ask(button, BM_CLICK);
  e2e::Require(ctx, e2e::WaitForWindowGone(d.window, 5000), when + ": the dialog closes");
}

}  // namespace

E2E_CASE(ScreensaverChoiceDialogListsStoresAndKeepsOnCancel) {
  FreshUser();
  const std::string win = WindowsDir();
  const std::string sys = SystemDir();
  const std::string fake = FakeScreensaver(ctx);
  e2e::Require(ctx, e2e::IsFile(fake), "fake_scr.exe is built beside the driver: " + fake);
  MadeFiles placed;
  const std::string alpha = win + "\\vt_alpha.scr";
  const std::string bothWin = win + "\\vt_both.scr";
  const std::string bothSys = sys + "\\vt_both.scr";
  const std::string hidden = sys + "\\vt_hidden.scr";
  e2e::Require(ctx,
               placed.Copy(fake, alpha) && placed.Copy(fake, bothWin) &&
                   placed.Copy(fake, bothSys) && placed.Copy(fake, hidden),
               "screensavers placed in " + win + " and " + sys);
  e2e::Require(ctx, SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN) != FALSE,
               "one of them hidden");
  Program program;
  StartSettled(ctx, program);

  ChoiceDialog d = OpenChoiceDialog(ctx, program, "first opening");
  // The whole list as the system lists both folders (the prefix may bring
  // screensavers of its own), Windows folder first, never sorted.
  std::vector<std::string> expected = ScreensaversIn(win);
  for (const std::string& path : ScreensaversIn(sys)) expected.push_back(path);
  std::vector<std::string> lines = ListLines(d.list);
  std::string shown;
  for (const std::string& line : lines) shown += "\n           " + line;
  e2e::Expect(ctx, lines == expected, "the list is both folders' search results in turn:" + shown);
  const std::ptrdiff_t a = IndexOf(lines, alpha), bw = IndexOf(lines, bothWin),
                       bs = IndexOf(lines, bothSys), h = IndexOf(lines, hidden);
  e2e::Expect(ctx, a >= 0 && bw >= 0 && bs >= 0 && h >= 0, "all four placed files are listed");
  e2e::Expect(ctx, bw >= 0 && bs > bw, "the file in both folders: Windows path, then system path");
  std::size_t lastWin = 0, firstSys = lines.size();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (InFolder(lines[i], win)) lastWin = i;
    if (InFolder(lines[i], sys) && firstSys == lines.size()) firstSys = i;
  }
  e2e::Expect(ctx, lastWin < firstSys, "every Windows-folder line before the system-folder ones");
  e2e::Expect(ctx, Ask(d.list, LB_GETCURSEL) == 0, "the first line is selected");
  e2e::ExpectEq(ctx, TextOf(d.current), "", "nothing chosen yet: empty current choice");

  // The design: borderless, centred, 427 x 311, Cancel (24 high) above OK (22
  // high).
  const LONG style = GetWindowLongA(d.window, GWL_STYLE);
  e2e::Expect(ctx,
              (style & WS_CAPTION) == 0 && (style & WS_THICKFRAME) == 0 && (style & WS_BORDER) == 0,
              "no border, no title bar");
  RECT client{}, frame{};
  GetClientRect(d.window, &client);
  GetWindowRect(d.window, &frame);
  e2e::Expect(ctx, client.right == 427 && client.bottom == 311,
              "client area 427 x 311, got " + std::to_string(client.right) + " x " +
                  std::to_string(client.bottom));
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  e2e::Expect(ctx,
              std::abs((frame.left + frame.right) - screenW) <= 2 &&
                  std::abs((frame.top + frame.bottom) - screenH) <= 2,
              "centred on the screen");
  RECT okRect{}, cancelRect{};
  for (const Child& c : d.children) {
    if (c.hwnd == d.ok) okRect = c.rect;
    if (c.hwnd == d.cancel) cancelRect = c.rect;
  }
  e2e::Expect(ctx, cancelRect.bottom <= okRect.top, "Cancel stands above OK");
  e2e::Expect(ctx, cancelRect.bottom - cancelRect.top == 24 && okRect.bottom - okRect.top == 22,
              "Cancel 24 and OK 22 high");
  {
    // A background point left of the buttons, read from the screen.
    HDC screen = GetDC(nullptr);
    COLORREF grey = GetPixel(screen, frame.left + 200, frame.top + 290);
    ReleaseDC(nullptr, screen);
    e2e::Expect(ctx, grey == RGB(232, 232, 232),
                "grey background, got " + std::to_string(GetRValue(grey)) + "/" +
                    std::to_string(GetGValue(grey)) + "/" + std::to_string(GetBValue(grey)));
  }
  e2e::Screenshot(ctx, "dialog-screensaver", d.window);

  // Pick the third line by keys, then OK.
  e2e::Require(ctx, lines.size() >= 3, "at least three lines");
  e2e::PressKey(d.window, VK_DOWN);
  e2e::PressKey(d.window, VK_DOWN);
  e2e::Expect(ctx, e2e::WaitUntil([&] { return Ask(d.list, LB_GETCURSEL) == 2; }, 2000),
              "Down twice selects the third line");
  CloseDialog(ctx, d, d.ok, "OK");
  const std::string chosen = lines[2];
  e2e::ExpectEq(ctx, ReadChoice(), chosen, "OK stores the selected line");

  d = OpenChoiceDialog(ctx, program, "second opening");
  e2e::ExpectEq(ctx, TextOf(d.current), chosen, "second opening: the current choice is shown");
  e2e::Expect(ctx, Ask(d.list, LB_GETCURSEL) == 0, "second opening: the first line is selected");
  e2e::PressKey(d.window, VK_DOWN);
  CloseDialog(ctx, d, d.cancel, "Cancel");
  e2e::ExpectEq(ctx, ReadChoice(), chosen, "Cancel leaves the choice alone");

  d = OpenChoiceDialog(ctx, program, "third opening");
  e2e::PressKey(d.window, VK_DOWN);
  e2e::PressKey(d.window, VK_ESCAPE);
  e2e::Require(ctx, e2e::WaitForWindowGone(d.window, 5000), "Escape closes the dialog");
  e2e::ExpectEq(ctx, ReadChoice(), chosen, "Escape leaves the choice alone");
  e2e::Expect(ctx, program.WaitForWindow("#32770", 300) == nullptr, "no message along the way");
  e2e::Expect(ctx, program.Running(), "the program runs on");
}

// A virus scanner or a sync tool that holds the file for a moment must not
// make the choice's write start from an empty file.
E2E_CASE(ScreensaverOkThroughAShortLockKeepsEveryOtherLine) {
  FreshUser();
  MadeFiles placed;
  e2e::Require(ctx, placed.Copy(FakeScreensaver(ctx), WindowsDir() + "\\vt_locked.scr"),
               "a screensaver placed");
  Program program;
  StartSettled(ctx, program);
  const std::string edited = "; my own notes\r\n" + e2e::ReadFileText(SettingsPath()).value_or("") +
                             "[SSaver]\r\nName=C:\\old.scr\r\n";
  e2e::Require(ctx, e2e::WriteFileText(SettingsPath(), edited), "hand-edited lines added");
  ChoiceDialog d = OpenChoiceDialog(ctx, program, "opening");
  const std::vector<std::string> lines = ListLines(d.list);
  e2e::Require(ctx, !lines.empty(), "screensavers listed");
  e2e::Require(ctx, e2e::HoldUnshared(SettingsPath(), 50,
                                      [&] { PostMessageA(d.ok, BM_CLICK, 0, 0); }),
               "the settings file held without sharing");
  e2e::Require(ctx, e2e::WaitForWindowGone(d.window, 5000), "OK closes the dialog");
  e2e::Expect(ctx, program.WaitForWindow("#32770", 400) == nullptr, "no message box");
  std::string expected = edited;
  expected.replace(expected.find("Name=C:\\old.scr"), 15, "Name=" + lines[0]);
  e2e::Expect(ctx, e2e::ReadFileText(SettingsPath()).value_or("") == expected,
              "every other line kept byte for byte");
}

E2E_CASE(ScreensaverActivationStartsItOnceThenWarnsWhenGone) {
  FreshUser();
  ScrLog scrLog;
  const std::string& log = scrLog.Path();
  MadeFiles placed;
  const std::string scr = WindowsDir() + "\\vt_start.scr";
  e2e::Require(ctx, placed.Copy(FakeScreensaver(ctx), scr), "screensaver placed: " + scr);
  // Stored before the start: the program's first writes of the settings file
  // would otherwise race with the driver's.
  CreateDirectoryA(DataFolder().c_str(), nullptr);
  e2e::Require(ctx, WriteChoice(scr), "choice stored");
  Program program;
  StartSettled(ctx, program);

  // Chosen twice in a row: the second command comes before the first tick and
  // changes nothing.
  HWND menu = OpenMenu(ctx, program, WM_LBUTTONDOWN, "activate");
  auto items = program.ReadMenu();
  e2e::Require(ctx, items && items->size() == 24, "the left menu's items can be read");
  e2e::ExpectEq(ctx, WithoutMarks((*items)[kActivate].caption), "Activate Screensaver", "item 23");
  const DWORD chosenAt = GetTickCount();
  Choose(ctx, program, menu, kActivate, "activate");
  Choose(ctx, program, OpenMenu(ctx, program, WM_LBUTTONDOWN, "again"), kActivate, "again");
  const DWORD againAt = GetTickCount();
  if (!e2e::WaitUntil([&] { return !ReadStarts(log).empty(); }, 5000)) {
    HWND box = program.WaitForWindow("#32770", 0);
    e2e::Require(
        ctx, false,
        "the screensaver starts" + (box ? ", instead a box: " + e2e::ReadBox(box).text : ""));
  }
  Sleep(2000);  // a second start would come a tick or two later
  std::vector<ScrStart> starts = ReadStarts(log);
  e2e::Require(ctx, starts.size() == 1,
               "started exactly once, got " + std::to_string(starts.size()));
  const long after = static_cast<long>(starts[0].tick - chosenAt);
  std::printf("         started %ld ms after the command (second command at %ld ms)\n", after,
              static_cast<long>(againAt - chosenAt));
  // Two 500 ms ticks after the first command; timers are never early, and the
  // clock was read before the command's keys were even posted.
  e2e::Expect(ctx, after >= 900 && after <= 2000,
              "started at the second tick, about a second after the command: " +
                  std::to_string(after) + " ms");
  e2e::Expect(ctx, SameText(starts[0].module, scr), "the chosen file ran: " + starts[0].module);
  const std::string& line = starts[0].commandLine;
  e2e::Expect(ctx, line.size() >= 3 && line.substr(line.size() - 3) == " /S",
              "started with /S: " + line);
  e2e::Expect(ctx, program.WaitForWindow("#32770", 300) == nullptr, "no message after a start");

  e2e::RemovePath(scr);
  Choose(ctx, program, OpenMenu(ctx, program, WM_LBUTTONDOWN, "file gone"), kActivate, "file gone");
  HWND box = ExpectBox(ctx, program, "Warning", kMissing, "warning", {IDOK}, "file gone");
  Answer(ctx, box, IDOK, "file gone");
  e2e::ExpectEq(ctx, ReadChoice(), scr, "the stored choice stays");

  e2e::Require(ctx, WriteChoice(WindowsDir()), "a folder stored as the choice");
  Choose(ctx, program, OpenMenu(ctx, program, WM_LBUTTONDOWN, "folder"), kActivate, "folder");
  box = ExpectBox(ctx, program, "Warning", kMissing, "warning", {IDOK},
                  "a folder counts as missing");
  Answer(ctx, box, IDOK, "folder");
  e2e::Expect(ctx, ReadStarts(log).size() == 1, "nothing more started");
}

E2E_CASE(ScreensaverNoneFoundAndInvalidFileInform) {
  FreshUser();
  ScreensaversAside aside;
  e2e::Require(ctx, ScreensaversIn(WindowsDir()).empty() && ScreensaversIn(SystemDir()).empty(),
               "no *.scr left in either folder");
  Program program;
  StartSettled(ctx, program);

  Choose(ctx, program, OpenMenu(ctx, program, WM_RBUTTONDOWN, "empty search"),
         kRightSelectScreensaver, "empty search");
  HWND box =
      ExpectBox(ctx, program, "Information", kNoneFound, "information", {IDOK}, "empty search");
  e2e::Expect(ctx, program.WaitForWindow("TFrmscrsel", 0) == nullptr, "no dialog behind the box");
  Answer(ctx, box, IDOK, "empty search");
  e2e::Expect(ctx, program.WaitForWindow("TFrmscrsel", 500) == nullptr, "no dialog after it");

  MadeFiles placed;
  const std::string text = WindowsDir() + "\\x.scr";
  e2e::Require(ctx, placed.Write(text, "not a program\r\n"), "text file x.scr placed");
  e2e::Require(ctx, WriteChoice(text), "x.scr chosen");
  Choose(ctx, program, OpenMenu(ctx, program, WM_LBUTTONDOWN, "invalid file"), kActivate,
         "invalid file");
  box = ExpectBox(ctx, program, "Information", kCouldNotRun, "information", {IDOK}, "invalid file");
  Answer(ctx, box, IDOK, "invalid file");
  e2e::Expect(ctx, program.Running(), "the program runs on");
}
