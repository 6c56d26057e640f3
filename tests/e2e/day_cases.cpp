// A day in the life of one user, across two runs of the program: first start,
// both menus, the editor with its dialogs, launching titles (a document, web
// pages, a missing file, an empty title), help, both screensaver switches, the
// screensaver choice and its start, and the Disable command with each pair of
// answers; the second run finds what was saved and not what was left unsaved.
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "e2e.h"
#include "vantrel_ui.h"

#include <shellapi.h>

namespace {

using e2e::Box;
using e2e::Context;
using e2e::Program;
using namespace e2e::ui;
using e2e::MadeFiles;
using e2e::RestoreRegValue;
using e2e::SameText;
using e2e::Selected;
using e2e::Send;
using e2e::SetText;
using e2e::TempDir;
using e2e::Text;
using e2e::WindowsDir;

// --- Small helpers ------------------------------------------------------------------

// Read as wide text: Wine hands another process only the first character of
// an ANSI LB_GETTEXT.
std::vector<std::string> ListLines(HWND list) {
  std::vector<std::string> lines;
  const LRESULT count = Send(list, LB_GETCOUNT);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t wide[1024] = {};
    if (Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(i)) >= 1024) continue;
    DWORD_PTR got = 0;
    SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide),
                        SMTO_ABORTIFHUNG, 3000, &got);
    char line[2048] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, line, sizeof line, nullptr, nullptr);
    lines.push_back(line);
  }
  return lines;
}

std::string Joined(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) out += (out.empty() ? "" : " | ") + item;
  return out;
}

// --- Message boxes ------------------------------------------------------------------------

// --- Menus -----------------------------------------------------------------------------

std::vector<e2e::MenuItem> ReadOpenMenu(Context& ctx, Program& program, std::size_t count,
                                        const std::string& when) {
  auto items = program.ReadMenu();
  e2e::Require(ctx, items.has_value() && items->size() == count,
               when + ": the menu's " + std::to_string(count) + " items can be read");
  return *items;
}

void MenuCommand(Context& ctx, Program& program, LPARAM press, int index, const std::string& when) {
  Choose(ctx, program, OpenMenu(ctx, program, press, when), index, when);
}

// The left menu without marks, after checking that every item is an enabled
// text item.
std::vector<std::string> LeftMenu(Context& ctx, Program& program, const std::string& when) {
  HWND menu = OpenMenu(ctx, program, WM_LBUTTONDOWN, when);
  std::vector<e2e::MenuItem> items = ReadOpenMenu(ctx, program, 24, when);
  Dismiss(ctx, menu);
  std::vector<std::string> captions;
  for (const e2e::MenuItem& item : items) {
    e2e::Expect(ctx, !item.separator && item.enabled,
                when + ": item " + std::to_string(captions.size()) + " is an enabled text item");
    captions.push_back(WithoutMarks(item.caption));
  }
  return captions;
}

// --- The settings file -------------------------------------------------------------------

std::string Desc(int t) { return "Desc" + std::to_string(t); }
std::string Set(int t, int i) {
  return "Set" + std::to_string(t) + std::to_string(t) + std::to_string(i);
}

using Names = std::map<int, std::string>;
using Entries = std::map<int, std::vector<std::string>>;

void ExpectFiles(Context& ctx, const Names& names, const Entries& entries,
                 const std::string& when) {
  std::optional<e2e::IniSection> files = e2e::ReadIniSection(SettingsPath(), "Files");
  e2e::Require(ctx, files.has_value(), when + ": the settings file can be read");
  e2e::Expect(ctx, files->keyLines == 220,
              when + ": 220 key lines in [Files], got " + std::to_string(files->keyLines));
  int wrong = 0;
  auto check = [&](const std::string& key, const std::string& value) {
    auto found = files->values.find(key);
    std::string got = found == files->values.end() ? "<missing>" : found->second;
    if (got != value && ++wrong <= 5) e2e::ExpectEq(ctx, got, value, when + ": " + key);
  };
  for (int t = 1; t <= 20; ++t) {
    auto name = names.find(t);
    check(Desc(t), name != names.end() ? name->second : "No Title Entered " + std::to_string(t));
    auto list = entries.find(t);
    for (int i = 1; i <= 10; ++i) {
      const bool filled = list != entries.end() && i <= static_cast<int>(list->second.size());
      check(Set(t, i), filled ? list->second[static_cast<std::size_t>(i - 1)] : "Null");
    }
  }
  e2e::Expect(ctx, wrong == 0, when + ": " + std::to_string(wrong) + " values differ");
}

// --- The editor and its dialogs ----------------------------------------------------------

HWND OpenEditor(Context& ctx, Program& program, LPARAM press) {
  const bool left = press == WM_LBUTTONDOWN;
  MenuCommand(ctx, program, press, left ? kLeftEdit : kRightEdit,
              left ? "left \"Edit Your List\"" : "right \"Edit Your List\"");
  return WaitWindow(ctx, program, "TFrmedit", "the edit window");
}

void ChooseTitle(Context& ctx, HWND editor, int title) {
  HWND list = GetDlgItem(editor, editor::Listtitles);
  Send(list, LB_SETCURSEL, static_cast<WPARAM>(title - 1));
  PostMessageA(editor, WM_COMMAND, MAKEWPARAM(editor::Listtitles, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  e2e::Require(ctx, e2e::WaitUntil([&] { return Selected(list) == title - 1; }, 3000),
               "title " + std::to_string(title) + " chosen");
}

// Waits until the entry list shows `count` lines (it is filled after the
// dialog's modal loop has ended).
std::vector<std::string> EntriesWhen(HWND editor, std::size_t count) {
  HWND list = GetDlgItem(editor, editor::Listapps);
  std::vector<std::string> items;
  e2e::WaitUntil([&] { return (items = ListLines(list)).size() == count; }, 3000);
  return items;
}

// Opens help (already asked for) and checks it is the help text, owned as
// expected; closes it with OK.
void CheckHelp(Context& ctx, Program& program, HWND owner, const std::string& when) {
  HWND help = WaitWindow(ctx, program, "TFrmhelp", when);
  e2e::ExpectEq(ctx, Text(help), "Help FAQ", when + ": caption");
  const std::string text = Text(Control(ctx, help, help::Memo1));
  e2e::ExpectEq(ctx, text.substr(0, 18), "\r\nVantrel v3.1\r\n\r\n", when + ": the text begins");
  e2e::Expect(ctx, text.find("HELP FAQ") != std::string::npos, when + ": the questions are there");
  e2e::Expect(ctx, GetWindow(help, GW_OWNER) == owner, when + ": owner");
  Click(ctx, help, help::BitBtn1);
  e2e::Require(ctx, e2e::WaitForWindowGone(help, 5000), when + ": OK closes it");
}

// --- The outside world: a browser, a document viewer, a screensaver ----------------------

// Wine's browser launcher runs the "Browsers" candidates with the address as
// the last argument; a shell line appending it to a log stands for a browser.
class BrowserLog {
 public:
  explicit BrowserLog(Context& ctx) : path_(TempDir(true) + "\\vantrel-day-browser.log") {
    e2e::RemovePath(path_);
    old_ = e2e::ReadRegString(kBrowserKey, "Browsers");
    using UnixName = char*(CDECL*)(LPCWSTR);
    auto toUnix = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    e2e::Require(ctx, toUnix != nullptr, "running under Wine (wine_get_unix_file_name)");
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path_.c_str(), -1, wide, MAX_PATH);
    char* unix = toUnix(wide);
    e2e::Require(ctx, unix != nullptr, "the log's Unix path");
    const std::string line =
        "/bin/sh -c \"printf '%s\\n' \\\"$0\\\" >> '" + std::string(unix) + "'\"";
    HeapFree(GetProcessHeap(), 0, unix);
    e2e::Require(ctx, e2e::WriteRegString(kBrowserKey, "Browsers", line), "browser stand-in set");
  }
  ~BrowserLog() {
    if (old_)
      e2e::WriteRegString(kBrowserKey, "Browsers", *old_);
    else
      e2e::DeleteRegValue(kBrowserKey, "Browsers");
    e2e::RemovePath(path_);
  }
  BrowserLog(const BrowserLog&) = delete;
  BrowserLog& operator=(const BrowserLog&) = delete;

  std::vector<std::string> Addresses() const {
    std::vector<std::string> lines;
    std::string text = e2e::ReadFileText(path_).value_or("");
    std::size_t at = 0;
    while (at < text.size()) {
      std::size_t end = text.find('\n', at);
      if (end == std::string::npos) end = text.size();
      if (end > at) lines.push_back(text.substr(at, end - at));
      at = end + 1;
    }
    return lines;
  }

 private:
  std::string path_;
  std::optional<std::string> old_;
};

// Gives .txt files Wine's own text viewer for the case, as a user's system has.
class TxtAssociation {
 public:
  TxtAssociation() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, ".txt", 0, KEY_READ, &key) == ERROR_SUCCESS) {
      char data[256] = {};
      DWORD size = sizeof data - 1;
      if (RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) ==
          ERROR_SUCCESS)
        old_ = data;
      RegCloseKey(key);
    }
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, ".txt", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
      const char kind[] = "txtfile";
      set_ = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kind),
                            sizeof kind) == ERROR_SUCCESS;
      RegCloseKey(key);
    }
  }
  ~TxtAssociation() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, ".txt", 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    if (old_)
      RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(old_->c_str()),
                     static_cast<DWORD>(old_->size() + 1));
    else
      RegDeleteValueA(key, nullptr);
    RegCloseKey(key);
  }
  TxtAssociation(const TxtAssociation&) = delete;
  TxtAssociation& operator=(const TxtAssociation&) = delete;
  bool Set() const { return set_; }

 private:
  std::optional<std::string> old_;
  bool set_ = false;
};

struct TitledWindow {
  const char* part;
  HWND found;
};

BOOL CALLBACK FindTitled(HWND hwnd, LPARAM param) {
  auto* job = reinterpret_cast<TitledWindow*>(param);
  char title[256] = {};
  GetWindowTextA(hwnd, title, sizeof title);
  CharLowerA(title);
  if (IsWindowVisible(hwnd) && std::string(title).find(job->part) != std::string::npos) {
    job->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// A visible top-level window of any process whose title holds `part` (lower case).
HWND WindowTitled(const char* part) {
  TitledWindow job{part, nullptr};
  EnumWindows(&FindTitled, reinterpret_cast<LPARAM>(&job));
  return job.found;
}

bool ScreensaverActive() {
  BOOL on = FALSE;
  SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &on, 0);
  return on != FALSE;
}

bool PasswordOn() { return e2e::ReadRegString(kDesktopKey, kNtPassword).value_or("") == "1"; }

// --- Steps of the day --------------------------------------------------------------------

void StartAndCheck(Context& ctx, Program& program, const std::string& when) {
  e2e::Require(ctx, program.Start(ctx), when + ": vantrel.exe started and made its TForm1");
  e2e::Require(ctx, e2e::WaitUntil([&] { return program.TrayIconPresent(); }, 10000),
               when + ": the tray icon is up");
  e2e::Expect(ctx, !IsWindowVisible(program.MainWindow()), when + ": no main window shows");
  e2e::ExpectEq(ctx, e2e::ReadRegString(e2e::kRunKey, kRunValue).value_or("<missing>"),
                ExpectedRunData(ctx), when + ": the Run value");
  e2e::Require(ctx, e2e::WaitUntil([] { return e2e::IsFile(SettingsPath()); }, 5000),
               when + ": the settings file exists");
  ExpectNoBox(ctx, program, when);
}

// The Disable command from the right menu with two answers.
void Disable(Context& ctx, Program& program, bool first, bool second, bool valueThere,
             const std::string& when) {
  HWND menu = OpenMenu(ctx, program, WM_RBUTTONDOWN, when);
  e2e::ExpectEq(ctx, WithoutMarks(ReadOpenMenu(ctx, program, 7, when)[kRightDisable].caption),
                "Disable Vantrel", when + ": the first right item");
  Choose(ctx, program, menu, kRightDisable, when);
  HWND ask = ExpectBox(ctx, program, "Warning", kAskRemoveStartup, "warning", {IDYES, IDNO},
                       when + ", first question");
  e2e::Expect(ctx, e2e::ReadBox(ask).defaultButton == IDYES, when + ": Yes is the default");
  Answer(ctx, ask, first ? IDYES : IDNO, when + ", first question");
  if (first) ExpectOkBox(ctx, program, "Information", kRemoved, "information", when + ", removal");
  HWND confirm = ExpectBox(ctx, program, "Warning", kAskRemoveIcon, "warning", {IDYES, IDNO},
                           when + ", second question");
  const HWND main = program.MainWindow();
  Answer(ctx, confirm, second ? IDYES : IDNO, when + ", second question");
  if (second) {
    e2e::Expect(ctx, program.WaitForExit(5000), when + ": the program ends");
    NOTIFYICONDATAA record{};
    record.cbSize = NOTIFYICONDATAA_V2_SIZE;
    record.hWnd = main;
    e2e::Expect(ctx, Shell_NotifyIconA(NIM_MODIFY, &record) == FALSE, when + ": the icon is gone");
  } else {
    ExpectNoBox(ctx, program, when + ", afterwards");
    e2e::Expect(ctx, program.Running(), when + ": the program runs on");
    e2e::Expect(ctx, program.TrayIconPresent(), when + ": the icon stays");
  }
  auto value = e2e::ReadRegString(e2e::kRunKey, kRunValue);
  if (valueThere && !first)
    e2e::ExpectEq(ctx, value.value_or("<missing>"), ExpectedRunData(ctx),
                  when + ": the Run value is kept");
  else
    e2e::Expect(ctx, !value.has_value(), when + ": the Run value is gone");
}

// The choice dialog's list and the label beside "Current Selection:".
struct ChoiceDialog {
  HWND window = nullptr;
  HWND list = nullptr;
  HWND current = nullptr;
  HWND ok = nullptr;
  HWND cancel = nullptr;
};

ChoiceDialog OpenChoice(Context& ctx, Program& program, const std::string& when) {
  MenuCommand(ctx, program, WM_RBUTTONDOWN, kRightSelectScreensaver, when);
  ChoiceDialog d;
  d.window = WaitWindow(ctx, program, "TFrmscrsel", when);
  HWND heading = nullptr;
  RECT headingRect{};
  std::vector<std::pair<HWND, RECT>> labels;
  for (HWND c = GetWindow(d.window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    char name[32] = {};
    GetClassNameA(c, name, sizeof name);
    RECT r{};
    GetWindowRect(c, &r);
    const std::string text = Text(c);
    if (SameText(name, "ListBox")) d.list = c;
    if (SameText(name, "Button") && text == "OK") d.ok = c;
    if (SameText(name, "Button") && text == "Cancel") d.cancel = c;
    if (SameText(name, "Static")) {
      if (text == "Current Selection:") {
        heading = c;
        headingRect = r;
      } else {
        labels.push_back({c, r});
      }
    }
  }
  for (const auto& [label, r] : labels)
    if (heading != nullptr && r.top == headingRect.top && r.left >= headingRect.right)
      d.current = label;
  e2e::Require(ctx, d.list && d.ok && d.cancel && d.current,
               when + ": list, OK, Cancel and the current choice are there");
  return d;
}

}  // namespace

E2E_CASE(DayInTheLife) {
  // A first run for this user, whatever ran before.
  e2e::DeleteRegValue(e2e::kRunKey, kRunValue);
  e2e::RemovePath(DataFolder());
  RestoreRegValue restoreActive(kDesktopKey, "ScreenSaveActive");
  RestoreRegValue restorePassword(kDesktopKey, kNtPassword);
  BrowserLog browser(ctx);
  TxtAssociation txt;
  e2e::Require(ctx, txt.Set(), ".txt files open in Wine's text viewer");
  MadeFiles made;
  const std::string note = TempDir(true) + "\\daynote.txt";
  const std::string gone = TempDir(true) + "\\daygone.txt";
  e2e::Require(ctx, made.Write(note, "Things to do today\r\n") && made.Write(gone, "soon gone\r\n"),
               "the user's files");
  const std::string fake =
      ctx.spyPath.substr(0, ctx.spyPath.find_last_of('\\') + 1) + "fake_scr.exe";
  const std::string scr = WindowsDir() + "\\vt_day.scr";
  e2e::Require(ctx, made.Copy(fake, scr), "a screensaver placed: " + scr);
  const std::string scrLog = TempDir(true) + "\\vantrel-day-scr.log";
  e2e::RemovePath(scrLog);
  SetEnvironmentVariableA(kScrLogVariable, scrLog.c_str());
  made.Write(scrLog, "");

  const std::string web1 = "https://example.org/today";
  const std::string web2 = "http://example.org/after-the-missing-file";

  // --- First run --------------------------------------------------------------------------
  auto program = std::make_unique<Program>();
  StartAndCheck(ctx, *program, "first start");
  e2e::Expect(ctx, e2e::IsDirectory(DataFolder()), "the data folder is made");
  ExpectFiles(ctx, {}, {}, "the first-run file");
  e2e::Screenshot(ctx, "day-first-start");

  // Both menus as they first are.
  std::vector<std::string> left = LeftMenu(ctx, *program, "first left press");
  for (int t = 1; t <= 20; ++t)
    e2e::ExpectEq(ctx, left[static_cast<std::size_t>(TitleItem(t))], "",
                  "title " + std::to_string(t) + " is an empty item");
  e2e::ExpectEq(ctx, left[kLeftEdit], "Edit Your List", "left item 20");
  e2e::ExpectEq(ctx, left[kSetSS],
                ScreensaverActive() ? "Disable Screensaver" : "Enable Screensaver", "left item 21");
  e2e::ExpectEq(ctx, left[kSetPwd], PasswordOn() ? "Disable Password" : "Enable Password",
                "left item 22");
  e2e::ExpectEq(ctx, left[kActivate], "Activate Screensaver", "left item 23");
  {
    HWND menu = OpenMenu(ctx, *program, WM_RBUTTONDOWN, "first right press");
    std::vector<e2e::MenuItem> right = ReadOpenMenu(ctx, *program, 7, "first right press");
    e2e::Screenshot(ctx, "day-right-menu");
    Dismiss(ctx, menu);
    const std::vector<std::string> expected = {
        "Disable Vantrel",      "Help Faq ",    "More Software Downloads", "", "Edit Your List",
        "Select a Screensaver", "Close a Title"};
    for (std::size_t i = 0; i < expected.size(); ++i) {
      e2e::ExpectEq(ctx, WithoutMarks(right[i].caption), expected[i],
                    "right item " + std::to_string(i));
      e2e::Expect(ctx, !right[i].separator && right[i].enabled,
                  "right item " + std::to_string(i) + " is an enabled text item");
    }
  }

  // An unnamed title opens nothing and says so.
  MenuCommand(ctx, *program, WM_LBUTTONDOWN, TitleItem(4), "title 4 before any editing");
  ExpectOkBox(ctx, *program, "Information", kNoPrograms, "information", "an empty title");

  // The editor: three titles named and filled, the limit met, a remove, help.
  HWND editor = OpenEditor(ctx, *program, WM_RBUTTONDOWN);
  HWND titles = GetDlgItem(editor, editor::Listtitles);
  e2e::Expect(ctx, ListLines(titles).size() == 20 && ListLines(titles)[0] == "No Title Entered 1",
              "the editor lists the placeholders");
  Rename(ctx, *program, editor, "Morning");
  AddFile(ctx, *program, editor, note);
  ExpectOkBox(ctx, *program, "Vantrel", kFileAdded, "none", "a file added");
  AddWeb(ctx, *program, editor, web1);
  AddWeb(ctx, *program, editor, "https://example.org/not-wanted");
  e2e::ExpectEq(ctx, Joined(EntriesWhen(editor, 3)),
                note + " | " + web1 + " | https://example.org/not-wanted", "title 1's entries");
  HWND apps = GetDlgItem(editor, editor::Listapps);
  Send(apps, LB_SETCURSEL, 2);
  Click(ctx, editor, editor::Cmddel);
  e2e::ExpectEq(ctx, Joined(EntriesWhen(editor, 2)), note + " | " + web1, "the third removed");

  ChooseTitle(ctx, editor, 2);
  e2e::Expect(ctx, EntriesWhen(editor, 0).empty(), "title 2 starts empty");
  Rename(ctx, *program, editor, "Broken");
  AddFile(ctx, *program, editor, gone);
  ExpectOkBox(ctx, *program, "Vantrel", kFileAdded, "none", "a second file added");
  AddWeb(ctx, *program, editor, web2);

  ChooseTitle(ctx, editor, 3);
  Rename(ctx, *program, editor, "Ten sites");
  std::vector<std::string> ten;
  for (int i = 1; i <= 10; ++i) {
    ten.push_back("https://example.org/site" + std::to_string(i));
    AddWeb(ctx, *program, editor, ten.back());
  }
  e2e::ExpectEq(ctx, Joined(EntriesWhen(editor, 10)), Joined(ten), "ten entries");
  AddWeb(ctx, *program, editor, "https://example.org/site11");
  ExpectOkBox(ctx, *program, "Information", kLimit, "information", "the eleventh entry");
  e2e::ExpectEq(ctx, Joined(EntriesWhen(editor, 10)), Joined(ten), "still ten entries");

  ChooseTitle(ctx, editor, 4);
  Click(ctx, editor, editor::Cmddel);
  ExpectOkBox(ctx, *program, "Warning", kRemoveEmpty, "warning", "remove from an empty title");

  Click(ctx, editor, editor::BitBtn2);
  CheckHelp(ctx, *program, editor, "the editor's Help");
  e2e::Screenshot(ctx, "day-editor");
  Click(ctx, editor, editor::BitBtn1);
  e2e::Require(ctx, e2e::WaitForWindowGone(editor, 5000), "Ok closes the editor");
  ExpectNoBox(ctx, *program, "after Ok");
  const Names names = {{1, "Morning"}, {2, "Broken"}, {3, "Ten sites"}};
  const Entries entries = {{1, {note, web1}}, {2, {gone, web2}}, {3, ten}};
  ExpectFiles(ctx, names, entries, "after Ok");

  left = LeftMenu(ctx, *program, "left press after Ok");
  e2e::ExpectEq(ctx, left[static_cast<std::size_t>(TitleItem(1))], "Morning", "title 1's item");
  e2e::ExpectEq(ctx, left[static_cast<std::size_t>(TitleItem(2))], "Broken", "title 2's item");
  e2e::ExpectEq(ctx, left[static_cast<std::size_t>(TitleItem(3))], "Ten sites", "title 3's item");
  e2e::ExpectEq(ctx, left[static_cast<std::size_t>(TitleItem(4))], "", "title 4 stays empty");

  // Launching: a document in its viewer and a web page in the browser.
  MenuCommand(ctx, *program, WM_LBUTTONDOWN, TitleItem(1), "title 1");
  HWND viewer = nullptr;
  e2e::Expect(ctx,
              e2e::WaitUntil([&] { return (viewer = WindowTitled("daynote")) != nullptr; }, 15000),
              "the document opens in a window named after it");
  e2e::Expect(ctx, e2e::WaitUntil([&] { return browser.Addresses().size() == 1; }, 15000),
              "the browser is asked once");
  e2e::ExpectEq(ctx, Joined(browser.Addresses()), web1, "the address reaches the browser");
  ExpectNoBox(ctx, *program, "title 1");
  e2e::Screenshot(ctx, "day-launch");
  if (viewer != nullptr) {
    PostMessageA(viewer, WM_CLOSE, 0, 0);
    e2e::Expect(ctx, e2e::WaitForWindowGone(viewer, 5000), "the viewer closes");
  }

  // A file that has gone since: one box, then the next entry still opens.
  e2e::RemovePath(gone);
  MenuCommand(ctx, *program, WM_LBUTTONDOWN, TitleItem(2), "title 2");
  HWND failed = ExpectBox(ctx, *program, "Information", kCannotRun, "information", {IDOK},
                          "the missing file");
  e2e::Expect(ctx, browser.Addresses().size() == 1, "nothing more opens while the box is up");
  Answer(ctx, failed, IDOK, "the missing file");
  e2e::Expect(ctx, e2e::WaitUntil([&] { return browser.Addresses().size() == 2; }, 15000),
              "the entry after the missing file opens");
  e2e::Expect(ctx, browser.Addresses().size() == 2 && browser.Addresses()[1] == web2,
              "the second address reaches the browser");
  ExpectNoBox(ctx, *program, "after the missing file");

  // Help from the right menu, owned by the hidden main window.
  MenuCommand(ctx, *program, WM_RBUTTONDOWN, kRightHelp, "\"Help Faq \"");
  CheckHelp(ctx, *program, program->MainWindow(), "help from the right menu");

  // Both switches, each flipped and flipped back; the captions follow.
  for (int round = 1; round <= 2; ++round) {
    const std::string when = "switch round " + std::to_string(round);
    const bool active = ScreensaverActive();
    const bool password = PasswordOn();
    MenuCommand(ctx, *program, WM_LBUTTONDOWN, kSetSS, when + ", screensaver");
    e2e::Expect(ctx, e2e::WaitUntil([&] { return ScreensaverActive() != active; }, 3000),
                when + ": the screensaver flag flips");
    MenuCommand(ctx, *program, WM_LBUTTONDOWN, kSetPwd, when + ", password");
    e2e::Expect(ctx, e2e::WaitUntil([&] { return PasswordOn() != password; }, 3000),
                when + ": the password setting flips");
    ExpectNoBox(ctx, *program, when);
    left = LeftMenu(ctx, *program, when + ", captions");
    e2e::ExpectEq(ctx, left[kSetSS], active ? "Enable Screensaver" : "Disable Screensaver",
                  when + ": item 21");
    e2e::ExpectEq(ctx, left[kSetPwd], password ? "Enable Password" : "Disable Password",
                  when + ": item 22");
  }

  // Choosing the screensaver and starting it from the tray.
  {
    ChoiceDialog d = OpenChoice(ctx, *program, "first choice");
    e2e::ExpectEq(ctx, Text(d.current), "", "nothing chosen yet");
    const std::vector<std::string> lines = ListLines(d.list);
    int index = -1;
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (SameText(lines[i], scr)) index = static_cast<int>(i);
    e2e::Require(ctx, index >= 0, "the placed screensaver is listed");
    for (int i = 0; i < index; ++i) e2e::PressKey(d.window, VK_DOWN);
    e2e::Require(ctx, e2e::WaitUntil([&] { return Selected(d.list) == index; }, 3000),
                 "the screensaver picked by keys");
    Send(d.ok, BM_CLICK);
    e2e::Require(ctx, e2e::WaitForWindowGone(d.window, 5000), "OK closes the choice");
    std::optional<e2e::IniSection> saver = e2e::ReadIniSection(SettingsPath(), "SSaver");
    e2e::ExpectEq(ctx, saver ? saver->values["Name"] : "<no file>",
                  lines[static_cast<std::size_t>(index)], "the choice is stored");
  }
  MenuCommand(ctx, *program, WM_LBUTTONDOWN, kActivate, "\"Activate Screensaver\"");
  e2e::Expect(ctx,
              e2e::WaitUntil([&] { return !e2e::ReadFileText(scrLog).value_or("").empty(); }, 5000),
              "the screensaver starts");
  {
    const std::string line = e2e::ReadFileText(scrLog).value_or("");
    const std::size_t bar1 = line.find('|');
    const std::size_t bar2 = bar1 == std::string::npos ? bar1 : line.find('|', bar1 + 1);
    const std::size_t end = line.find("\r\n");
    e2e::Expect(ctx,
                bar2 != std::string::npos && end != std::string::npos &&
                    line.find("\r\n", end + 2) == std::string::npos,
                "one start recorded: " + line);
    if (bar2 != std::string::npos && end != std::string::npos) {
      e2e::Expect(ctx, SameText(line.substr(bar1 + 1, bar2 - bar1 - 1), scr),
                  "the chosen file ran");
      const std::string args = line.substr(bar2 + 1, end - bar2 - 1);
      e2e::Expect(ctx, args.size() >= 3 && args.substr(args.size() - 3) == " /S",
                  "started with /S: " + args);
    }
  }
  ExpectNoBox(ctx, *program, "after the screensaver start");
  const std::optional<std::string> saved = e2e::ReadFileText(SettingsPath());

  // Edited but never saved: renamed, an address added, closed by its close box.
  editor = OpenEditor(ctx, *program, WM_LBUTTONDOWN);
  ChooseTitle(ctx, editor, 1);
  Rename(ctx, *program, editor, "Not kept");
  AddWeb(ctx, *program, editor, "https://example.org/not-kept");
  e2e::Expect(ctx, EntriesWhen(editor, 3).size() == 3, "the unsaved entry is listed");
  PostMessageA(editor, WM_CLOSE, 0, 0);
  e2e::Require(ctx, e2e::WaitForWindowGone(editor, 5000), "the close box closes the editor");
  e2e::Expect(ctx, e2e::ReadFileText(SettingsPath()) == saved, "the close box saves nothing");

  // Disable: No, then Yes. The program goes; the Run value stays.
  Disable(ctx, *program, false, true, true, "Disable No/Yes");
  program.reset();

  // --- Second run ---------------------------------------------------------------------------
  program = std::make_unique<Program>();
  StartAndCheck(ctx, *program, "second start");
  e2e::Expect(ctx, e2e::ReadFileText(SettingsPath()) == saved, "the second start rewrites nothing");
  ExpectFiles(ctx, names, entries, "the second start");
  left = LeftMenu(ctx, *program, "second run, left press");
  e2e::ExpectEq(ctx, left[static_cast<std::size_t>(TitleItem(1))], "Morning", "title 1 as saved");
  e2e::ExpectEq(ctx, left[static_cast<std::size_t>(TitleItem(3))], "Ten sites", "title 3 as saved");
  editor = OpenEditor(ctx, *program, WM_RBUTTONDOWN);
  titles = GetDlgItem(editor, editor::Listtitles);
  std::vector<std::string> listed = ListLines(titles);
  e2e::Expect(ctx,
              listed.size() == 20 && listed[0] == "Morning" && listed[1] == "Broken" &&
                  listed[2] == "Ten sites" && listed[3] == "No Title Entered 4",
              "the editor lists the saved names: " + Joined(listed));
  e2e::Expect(ctx, Selected(titles) == 0, "title 1 selected");
  e2e::ExpectEq(ctx, Joined(EntriesWhen(editor, 2)), note + " | " + web1,
                "title 1's saved entries, without the unsaved one");
  ChooseTitle(ctx, editor, 3);
  e2e::ExpectEq(ctx, Joined(EntriesWhen(editor, 10)), Joined(ten), "title 3's ten entries");
  PostMessageA(editor, WM_CLOSE, 0, 0);
  e2e::Require(ctx, e2e::WaitForWindowGone(editor, 5000), "the close box closes the editor");
  {
    ChoiceDialog d = OpenChoice(ctx, *program, "second run's choice");
    e2e::Expect(ctx, SameText(Text(d.current), scr), "the chosen screensaver is remembered");
    Send(d.cancel, BM_CLICK);
    e2e::Require(ctx, e2e::WaitForWindowGone(d.window, 5000), "Cancel closes the choice");
  }

  // Disable: Yes, then No; then Yes and Yes.
  Disable(ctx, *program, true, false, true, "Disable Yes/No");
  Disable(ctx, *program, true, true, false, "Disable Yes/Yes");
  SetEnvironmentVariableA(kScrLogVariable, nullptr);
}
