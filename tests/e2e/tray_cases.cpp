// The left menu (items, order, accelerators, which title each item opens), the
// group launcher's shell requests and messages, the web site command, and the
// tray presses that must neither open a menu nor read the settings file.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
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

// The documents the launches open and the browser stand-in live here.
const char kScratch[] = "C:\\vtray";

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The character after the caption's single "&", upper-cased; '\0' for none,
// '?' for more than one mark.
char MarkOf(const std::string& caption) {
  char mark = '\0';
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (mark != '\0') return '?';
    mark = Upper(caption[i + 1]);
    ++i;
  }
  return mark;
}

void FreshUser() {
  e2e::DeleteRegValue(e2e::kRunKey, kRunValue);
  e2e::RemovePath(DataFolder());
  e2e::RemovePath(kScratch);
  CreateDirectoryA(kScratch, nullptr);
}

void PrepareSettings(Context& ctx, const std::string& text) {
  CreateDirectoryA(DataFolder().c_str(), nullptr);
  e2e::Require(ctx, e2e::WriteFileText(SettingsPath(), text), "settings file prepared");
}

std::string UnixPath(const std::string& windows) {
  using ToUnix = char*(CDECL*)(const wchar_t*);
  auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (toUnix == nullptr) return "";
  wchar_t wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, windows.c_str(), -1, wide, MAX_PATH);
  char* unix = toUnix(wide);
  if (unix == nullptr) return "";
  std::string out = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return out;
}

std::string BrowserLog() { return std::string(kScratch) + "\\browser.log"; }

// Wine hands web addresses to winebrowser, which runs the Unix commands named
// under WineBrowser\Browsers with the address as the last argument: a shell
// script of ours that appends it to a log.
void InstallBrowser(Context& ctx) {
  const std::string script = std::string(kScratch) + "\\browser.sh";
  const std::string log = UnixPath(BrowserLog());
  e2e::Require(ctx, !log.empty(), "Unix path of the browser log");
  e2e::Require(ctx, e2e::WriteFileText(script, "printf '%s\\n' \"$1\" >> '" + log + "'\n"),
               "browser script written");
  e2e::Require(ctx,
               e2e::WriteRegString(kBrowserKey, "Browsers", "/bin/sh \"" + UnixPath(script) + "\""),
               "browser script registered");
}

std::vector<std::string> BrowserAddresses() {
  return e2e::SplitLines(e2e::ReadFileText(BrowserLog()).value_or(""));
}

bool WaitForAddresses(std::size_t count) {
  return e2e::WaitUntil([&] { return BrowserAddresses().size() >= count; }, 10000);
}

// A fresh prefix has no association for .txt; Notepad's document class has one.
void AssociateTextFiles(Context& ctx) {
  HKEY key = nullptr;
  bool ok = RegCreateKeyExA(HKEY_CLASSES_ROOT, ".txt", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) == ERROR_SUCCESS;
  if (ok) {
    static const char kClass[] = "txtfile";
    ok = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kClass),
                        sizeof kClass) == ERROR_SUCCESS;
    RegCloseKey(key);
  }
  e2e::Require(ctx, ok, ".txt associated with txtfile");
}

void CloseNotepads();

// The .txt association and the browser script would change what the cases run
// after these see; they are undone when the case ends.
class ShellStandIns {
 public:
  ShellStandIns(Context& ctx, bool textFiles) {
    browsers_ = e2e::ReadRegString(kBrowserKey, "Browsers");
    HKEY key = nullptr;
    if (textFiles && RegOpenKeyExA(HKEY_CLASSES_ROOT, ".txt", 0, KEY_READ, &key) == ERROR_SUCCESS)
      RegCloseKey(key);
    else
      removeTxt_ = textFiles;
    if (textFiles) AssociateTextFiles(ctx);
    InstallBrowser(ctx);
  }
  ~ShellStandIns() {
    CloseNotepads();
    if (removeTxt_) RegDeleteKeyA(HKEY_CLASSES_ROOT, ".txt");
    if (browsers_)
      e2e::WriteRegString(kBrowserKey, "Browsers", *browsers_);
    else
      e2e::DeleteRegValue(kBrowserKey, "Browsers");
  }
  ShellStandIns(const ShellStandIns&) = delete;
  ShellStandIns& operator=(const ShellStandIns&) = delete;

 private:
  std::optional<std::string> browsers_;
  bool removeTxt_ = false;
};

BOOL CALLBACK CollectNotepad(HWND hwnd, LPARAM param) {
  char name[32] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if (IsWindowVisible(hwnd) && lstrcmpiA(name, "Notepad") == 0)
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  return TRUE;
}

std::vector<HWND> NotepadWindows() {
  std::vector<HWND> found;
  EnumWindows(&CollectNotepad, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// Captions of the open Notepad windows, lower-cased (a short path may come in
// upper case).
std::vector<std::string> NotepadCaptions() {
  std::vector<std::string> captions;
  for (HWND w : NotepadWindows()) {
    char text[512] = {};
    DWORD_PTR unused = 0;
    SendMessageTimeoutA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 3000, &unused);
    captions.push_back(Lower(text));
  }
  return captions;
}

void CloseNotepads() {
  for (HWND w : NotepadWindows()) {
    PostMessageA(w, WM_CLOSE, 0, 0);
    e2e::WaitForWindowGone(w, 5000);
  }
}

HWND OpenMenu(Context& ctx, Program& program, LPARAM press) {
  program.PostTrayCallback(press);
  HWND menu = program.WaitForMenu(5000);
  e2e::Require(
      ctx, menu != nullptr,
      press == WM_LBUTTONDOWN ? "the left press opens a menu" : "the right press opens a menu");
  return menu;
}

void Choose(Context& ctx, Program& program, LPARAM press, int index) {
  HWND menu = OpenMenu(ctx, program, press);
  program.ChooseMenuItem(menu, index);
  e2e::Expect(ctx, e2e::WaitForWindowGone(menu, 5000), "the menu closes after a choice");
}

void EscapeMenu(Context& ctx, HWND menu) {
  e2e::PressKey(menu, VK_ESCAPE);
  e2e::Expect(ctx, e2e::WaitForWindowGone(menu, 5000), "Escape closes the menu");
}

std::vector<e2e::MenuItem> ReadItems(Context& ctx, Program& program) {
  auto items = program.ReadMenu();
  e2e::Require(ctx, items.has_value(), "the menu's items can be read");
  return *items;
}

// Waits for the program's next message box, checks it as an information box
// with an OK button and the text, and presses OK.
void ExpectInformation(Context& ctx, Program& program, const std::string& text,
                       const std::string& when, const std::function<void()>& whileOpen = {}) {
  HWND box = program.WaitForWindow("#32770", 10000);
  e2e::Require(ctx, box != nullptr, when + ": a message box appears");
  Box read = e2e::ReadBox(box);
  e2e::ExpectEq(ctx, read.caption, "Information", when + ": caption");
  e2e::ExpectEq(ctx, read.text, text, when + ": text");
  e2e::ExpectEq(ctx, program.BoxIcon(box), "information", when + ": icon");
  e2e::Expect(ctx, read.buttons == std::vector<int>({IDOK}), when + ": one OK button");
  if (whileOpen) whileOpen();
  e2e::Require(ctx, e2e::PressBoxButton(box, IDOK), when + ": OK pressed");
  e2e::Require(ctx, e2e::WaitForWindowGone(box, 5000), when + ": the box closes");
}

void ExpectNoFurtherBox(Context& ctx, Program& program, const std::string& when) {
  HWND box = program.WaitForWindow("#32770", 1500);
  if (box == nullptr) return;
  e2e::Expect(ctx, false,
              when + ": no further message box, got \"" + e2e::ReadBox(box).text + "\"");
  e2e::PressBoxButton(box, IDOK);
}

// Title 3: a text file, a missing file, a web address. Title 5: slot 1 empty,
// entries behind it that must not open.
const char kAddress[] = "http://example.invalid/launch?title=3&x=1";
std::string LauncherSettings() {
  return std::string("[Files]\r\n") +
         "Desc3=Mixed\r\n"
         "Set331=" +
         kScratch +
         "\\first.txt\r\n"
         "Set332=" +
         kScratch +
         "\\missing.txt\r\n"
         "Set333=" +
         kAddress +
         "\r\n"
         "Set334=Null\r\n"
         "Desc5=Nothing first\r\n"
         "Set551=Null\r\n"
         "Set552=" +
         kScratch +
         "\\first.txt\r\n"
         "Set553=http://example.invalid/never\r\n";
}

void PrepareLauncher(Context& ctx) {
  FreshUser();
  CloseNotepads();
  e2e::Require(ctx, e2e::WriteFileText(std::string(kScratch) + "\\first.txt", "first\r\n"),
               "text file written");
  PrepareSettings(ctx, LauncherSettings());
}

bool NotepadShows(const std::string& name) {
  return e2e::WaitUntil(
      [&] {
        for (const std::string& caption : NotepadCaptions())
          if (caption.find(name) != std::string::npos) return true;
        return false;
      },
      10000);
}

}  // namespace

E2E_CASE(LaunchOpensFileReportsMissingOnceThenSendsAddress) {
  PrepareLauncher(ctx);
  ShellStandIns standIns(ctx, true);
  Program program;
  StartReady(ctx, program);
  Choose(ctx, program, WM_LBUTTONDOWN, TitleItem(3));

  e2e::Expect(ctx, NotepadShows("first"), "the text file opens in Notepad");
  ExpectInformation(ctx, program, kCannotRun, "missing file", [&] {
    // The box is modal within the launch: the address waits until it is closed.
    Sleep(500);
    e2e::Expect(ctx, BrowserAddresses().empty(), "no address reaches the browser before OK");
  });
  e2e::Expect(ctx, WaitForAddresses(1), "the address reaches the browser after OK");
  const std::vector<std::string> sent = BrowserAddresses();
  e2e::Expect(ctx, sent == std::vector<std::string>({kAddress}),
              "the browser got exactly the address, got " + std::to_string(sent.size()) +
                  " lines: " + (sent.empty() ? "" : sent[0]));
  ExpectNoFurtherBox(ctx, program, "after the launch");
  e2e::Expect(ctx, NotepadWindows().size() == 1, "one Notepad window");
  e2e::Screenshot(ctx, "launch-notepad");
  e2e::ExpectEq(ctx, e2e::ReadFileText(SettingsPath()).value_or("<unreadable>"), LauncherSettings(),
                "the settings file is byte for byte as prepared");
  CloseNotepads();
  e2e::Expect(ctx, program.Running(), "the program runs on");
}

E2E_CASE(LaunchWithEmptyFirstSlotOnlyTellsNoPrograms) {
  PrepareLauncher(ctx);
  ShellStandIns standIns(ctx, true);
  Program program;
  StartReady(ctx, program);
  Choose(ctx, program, WM_LBUTTONDOWN, TitleItem(5));
  ExpectInformation(ctx, program, kNoPrograms, "empty title");
  ExpectNoFurtherBox(ctx, program, "after the message");
  e2e::Expect(ctx, NotepadWindows().empty(), "nothing opened in Notepad");
  e2e::Expect(ctx, BrowserAddresses().empty(), "nothing reached the browser");
  e2e::ExpectEq(ctx, e2e::ReadFileText(SettingsPath()).value_or("<unreadable>"), LauncherSettings(),
                "the settings file is byte for byte as prepared");
  CloseNotepads();
}

E2E_CASE(TrayLeftMenuOnFirstRun) {
  FreshUser();
  Program program;
  StartReady(ctx, program);
  HWND menu = OpenMenu(ctx, program, WM_LBUTTONDOWN);
  std::vector<e2e::MenuItem> items = ReadItems(ctx, program);
  e2e::Screenshot(ctx, "menu-left", menu);
  EscapeMenu(ctx, menu);

  BOOL active = FALSE;
  SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
  const bool secure =
      e2e::ReadRegString("Control Panel\\Desktop", "ScreensaverIsSecure").value_or("") == "1";
  // Each caption marked with the first of its digits or letters that no item
  // above has taken.
  std::vector<std::string> expected(20, "");
  expected.push_back("&Edit Your List");
  expected.push_back(active ? "&Disable Screensaver" : "E&nable Screensaver");
  expected.push_back(active ? (secure ? "D&isable Password" : "E&nable Password")
                            : (secure ? "&Disable Password" : "En&able Password"));
  expected.push_back(!active && !secure ? "A&ctivate Screensaver" : "&Activate Screensaver");
  e2e::Require(ctx, items.size() == expected.size(),
               "24 items, got " + std::to_string(items.size()));
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string at = "item " + std::to_string(i);
    e2e::ExpectEq(ctx, items[i].caption, expected[i], at);
    e2e::Expect(ctx, !items[i].separator && items[i].enabled, at + " is an enabled text item");
  }

  menu = OpenMenu(ctx, program, WM_RBUTTONDOWN);
  items = ReadItems(ctx, program);
  e2e::Screenshot(ctx, "menu-right", menu);
  EscapeMenu(ctx, menu);
  const std::vector<std::string> right = {
      "&Disable Vantrel",      "&Help Faq ",    "&More Software Downloads", "", "&Edit Your List",
      "&Select a Screensaver", "&Close a Title"};
  e2e::Require(ctx, items.size() == right.size(), "7 items, got " + std::to_string(items.size()));
  for (std::size_t i = 0; i < items.size(); ++i)
    e2e::ExpectEq(ctx, items[i].caption, right[i], "right menu item " + std::to_string(i));
}

E2E_CASE(TrayTopItemIsTitle20AndTheLastTitleItemIsTitle1) {
  FreshUser();
  ShellStandIns standIns(ctx, false);
  const std::string twenty = "http://example.invalid/title20";
  const std::string one = "http://example.invalid/title1";
  PrepareSettings(ctx, "[Files]\r\nDesc20=Twenty\r\nSet20201=" + twenty +
                           "\r\nDesc1=One\r\nSet111=" + one +
                           "\r\nDesc2=My No Title Entered list\r\nDesc3=my no title entered\r\n");
  Program program;
  StartReady(ctx, program);

  HWND menu = OpenMenu(ctx, program, WM_LBUTTONDOWN);
  std::vector<e2e::MenuItem> items = ReadItems(ctx, program);
  e2e::Screenshot(ctx, "menu-left-named", menu);
  EscapeMenu(ctx, menu);
  e2e::Require(ctx, items.size() == 24, "24 items");
  e2e::ExpectEq(ctx, WithoutMarks(items[TitleItem(20)].caption), "Twenty", "top item");
  e2e::ExpectEq(ctx, WithoutMarks(items[TitleItem(1)].caption), "One",
                "item above \"Edit Your List\"");
  e2e::ExpectEq(ctx, WithoutMarks(items[static_cast<std::size_t>(TitleItem(2))].caption), "",
                "a name holding \"No Title Entered\" shows empty");
  e2e::ExpectEq(ctx, WithoutMarks(items[static_cast<std::size_t>(TitleItem(3))].caption),
                "my no title entered", "the same words in lower case stay");

  Choose(ctx, program, WM_LBUTTONDOWN, TitleItem(20));
  e2e::Expect(ctx, WaitForAddresses(1), "the top item launches something");
  Choose(ctx, program, WM_LBUTTONDOWN, TitleItem(1));
  e2e::Expect(ctx, WaitForAddresses(2), "the item above \"Edit Your List\" launches something");
  // Title 1 again, by its accelerator this time.
  menu = OpenMenu(ctx, program, WM_LBUTTONDOWN);
  const char mark = MarkOf(ReadItems(ctx, program)[TitleItem(1)].caption);
  e2e::Require(ctx, mark != '\0' && mark != '?', "title 1's item has an accelerator");
  PostMessageA(menu, WM_CHAR, static_cast<WPARAM>(Lower(std::string(1, mark))[0]), 0);
  e2e::Expect(ctx, e2e::WaitForWindowGone(menu, 5000), "the accelerator closes the menu");
  e2e::Expect(ctx, WaitForAddresses(3), "the accelerator launches something");
  e2e::Expect(ctx, BrowserAddresses() == std::vector<std::string>({twenty, one, one}),
              "title 20, title 1, title 1 launched in that order");
  ExpectNoFurtherBox(ctx, program, "after the launches");
}

E2E_CASE(TrayMovesReleasesAndDoubleClicksOpenNoMenu) {
  FreshUser();
  Program program;
  StartReady(ctx, program);
  for (LPARAM message : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP,
                         WM_RBUTTONDBLCLK, WM_MBUTTONDOWN}) {
    program.PostTrayCallback(message);
    e2e::Expect(ctx, program.WaitForMenu(700) == nullptr,
                "no menu for mouse message " + std::to_string(message));
  }
  e2e::Expect(ctx, program.WaitForWindow("#32770", 300) == nullptr, "and no message box");
  // The same program still answers a press.
  EscapeMenu(ctx, OpenMenu(ctx, program, WM_LBUTTONDOWN));
}

E2E_CASE(TrayKeyboardOpensBothMenusAtTheIcon) {
  FreshUser();
  Program program;
  StartReady(ctx, program);
  SetCursorPos(40, 40);
  const WPARAM icon = MAKEWPARAM(600, 700);
  auto atIcon = [&](HWND menu) {
    RECT r{};
    GetWindowRect(menu, &r);
    // Wine slides a menu that does not fit up instead of flipping it.
    const bool ok = std::abs(r.left - 600) <= 2 && r.top <= 700 && r.bottom >= 700;
    return ok ? std::string()
              : " (menu at " + std::to_string(r.left) + ", " + std::to_string(r.top) + " - " +
                    std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
  };
  // Enter or Space on the icon: the left menu, at the icon.
  program.PostTrayCallback(MAKELPARAM(NIN_KEYSELECT, 0), icon);
  HWND menu = program.WaitForMenu(5000);
  e2e::Require(ctx, menu != nullptr, "Enter on the icon opens a menu");
  std::vector<e2e::MenuItem> items = ReadItems(ctx, program);
  e2e::Expect(ctx, items.size() == 24 && WithoutMarks(items[20].caption) == "Edit Your List",
              "it is the left menu");
  e2e::Expect(ctx, atIcon(menu).empty(), "at the icon, not at the mouse" + atIcon(menu));
  EscapeMenu(ctx, menu);
  // Shift+F10 or the menu key: the right menu.
  program.PostTrayCallback(MAKELPARAM(WM_CONTEXTMENU, 0), icon);
  menu = program.WaitForMenu(5000);
  e2e::Require(ctx, menu != nullptr, "the menu key on the icon opens a menu");
  items = ReadItems(ctx, program);
  e2e::Expect(ctx, !items.empty() && WithoutMarks(items[0].caption) == "Disable Vantrel",
              "it is the right menu");
  e2e::Expect(ctx, atIcon(menu).empty(), "the right menu at the icon" + atIcon(menu));
  EscapeMenu(ctx, menu);
  // A mouse press has opened its menu already: what the shell sends after it opens none.
  EscapeMenu(ctx, OpenMenu(ctx, program, WM_RBUTTONDOWN));
  program.PostTrayCallback(WM_RBUTTONUP, icon);
  program.PostTrayCallback(WM_CONTEXTMENU, icon);
  e2e::Expect(ctx, program.WaitForMenu(700) == nullptr, "no second menu after a right click");
  EscapeMenu(ctx, OpenMenu(ctx, program, WM_LBUTTONDOWN));
  program.PostTrayCallback(WM_LBUTTONUP, icon);
  program.PostTrayCallback(NIN_SELECT, icon);
  e2e::Expect(ctx, program.WaitForMenu(700) == nullptr, "no second menu after a left click");
}

namespace {

FILETIME LastAccess(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastAccessTime;
}

// Sets the last access long before the last change, so that the next read of
// the file moves it (Linux updates it then even on a relatime mount).
bool AgeLastAccess(const std::string& path, FILETIME& old) {
  SYSTEMTIME when{};
  when.wYear = 2001;
  when.wMonth = 1;
  when.wDay = 1;
  SystemTimeToFileTime(&when, &old);
  HANDLE f = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  bool ok = SetFileTime(f, nullptr, &old, nullptr) != FALSE;
  CloseHandle(f);
  const FILETIME now = LastAccess(path);
  return ok && CompareFileTime(&old, &now) == 0;
}

}  // namespace

// The right menu names the titles to close as the file has them now, as the
// left menu does.
E2E_CASE(TrayRightPressReadsTheTitlesToCloseAsTheLeftOneDoes) {
  FreshUser();
  PrepareSettings(ctx, "[Files]\r\nDesc1=Before\r\n");
  Program program;
  StartReady(ctx, program);
  Sleep(300);  // start-up's own read is over
  FILETIME old{};
  PrepareSettings(ctx, "[Files]\r\nDesc1=Meanwhile\r\n");
  e2e::Require(ctx, AgeLastAccess(SettingsPath(), old), "last access time set back");
  HWND menu = OpenMenu(ctx, program, WM_RBUTTONDOWN);
  const std::vector<e2e::MenuItem> right = ReadItems(ctx, program);
  EscapeMenu(ctx, menu);
  FILETIME after = LastAccess(SettingsPath());
  e2e::Expect(ctx, CompareFileTime(&after, &old) != 0, "the right press read the file");
  const bool named = !right.empty() && std::any_of(right.back().submenu.begin(),
                                                   right.back().submenu.end(), [](const auto& i) {
                                                     return WithoutMarks(i.caption) == "Meanwhile";
                                                   });
  e2e::Expect(ctx, named, "\"Close a Title\" names title 1 as the file has it now");

  // The probe can tell: a left press reads the file, and sees a changed name.
  PrepareSettings(ctx, "[Files]\r\nDesc1=After\r\n");
  e2e::Require(ctx, AgeLastAccess(SettingsPath(), old), "last access time set back again");
  menu = OpenMenu(ctx, program, WM_LBUTTONDOWN);
  std::vector<e2e::MenuItem> items = ReadItems(ctx, program);
  EscapeMenu(ctx, menu);
  after = LastAccess(SettingsPath());
  e2e::Expect(ctx, CompareFileTime(&after, &old) != 0, "the left press read the file");
  e2e::Expect(ctx, items.size() == 24 && WithoutMarks(items[TitleItem(1)].caption) == "After",
              "the left press shows the name written since");
}

E2E_CASE(TrayDownloadsSendsTheMakersAddressToTheBrowser) {
  FreshUser();
  ShellStandIns standIns(ctx, false);
  Program program;
  StartReady(ctx, program);
  Choose(ctx, program, WM_RBUTTONDOWN, kRightDownload);
  e2e::Expect(ctx, WaitForAddresses(1), "an address reaches the browser");
  e2e::Expect(ctx, BrowserAddresses() == std::vector<std::string>({kMakerSite}),
              "the browser got the maker's address");
  ExpectNoFurtherBox(ctx, program, "after the web site command");
}

namespace {

// Points the user's application data folder elsewhere for the processes
// started after it (Wine reads it from both shell-folder keys), and puts the
// values back as they were, types and all, when the case ends.
class AppDataElsewhere {
 public:
  explicit AppDataElsewhere(const std::string& folder) {
    for (const char* key :
         {"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
          "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"}) {
      saved_.push_back(std::make_unique<e2e::RestoreRegValue>(key, "AppData"));
      e2e::WriteRegString(key, "AppData", folder);
    }
  }

 private:
  std::vector<std::unique_ptr<e2e::RestoreRegValue>> saved_;
};

// Creates every missing folder of a path.
void MakeFolders(const std::string& path) {
  for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  CreateDirectoryA(path.c_str(), nullptr);
}

}  // namespace

// A user folder and a program folder named outside the legacy code page, and
// entries named in Cyrillic, Japanese and with accents: the program starts
// without a word, saves, records a Run value that names it, and opens them.
E2E_CASE(NamesOutsideTheLegacyCodePageStartSaveAndOpen) {
  FreshUser();
  CloseNotepads();
  const std::string user = "C:\\users\\\xD0\x94\xD0\xBC\xD0\xB8\xD1\x82\xD1\x80\xD0\xB8\xD0\xB9";
  const std::string programDir =
      "C:\\\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD1\x8B";
  MakeFolders(user + "\\AppData\\Roaming");
  CreateDirectoryA(programDir.c_str(), nullptr);
  struct Cleanup {
    std::string a, b;
    ~Cleanup() {
      e2e::RemovePath(a);
      e2e::RemovePath(b);
    }
  } cleanup{user, programDir};
  AppDataElsewhere appData(user + "\\AppData\\Roaming");
  e2e::ExpectEq(ctx, e2e::AppDataFolder(), user + "\\AppData\\Roaming",
                "the driver sees the folder");
  Context moved = ctx;
  moved.programPath = programDir + "\\vantrel.exe";
  e2e::Require(ctx, CopyFileA(ctx.programPath.c_str(), moved.programPath.c_str(), FALSE) != FALSE,
               "vantrel.exe copied to " + moved.programPath);
  ShellStandIns standIns(ctx, true);

  Program program;
  e2e::Require(ctx, program.Start(moved), "the copy started and made its TForm1 window");
  e2e::Require(ctx, e2e::WaitUntil([&] { return program.TrayIconPresent(); }, 10000),
               "the tray icon is up");
  ExpectNoFurtherBox(ctx, program, "start-up");
  e2e::Expect(ctx, e2e::WaitUntil([] { return e2e::IsFile(SettingsPath()); }, 5000),
              "the settings file is written in " + DataFolder());
  e2e::ExpectEq(ctx, e2e::ReadRegString(e2e::kRunKey, kRunValue).value_or("<missing>"),
                moved.programPath, "the Run value names the program");

  // Three files picked in the real chooser, saved, then opened from the menu.
  const std::vector<std::string> names = {"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82.txt",
                                          "\xE6\x97\xA5\xE6\x9C\xAC.txt", "caf\xC3\xA9.txt"};
  std::vector<std::string> paths;
  for (const std::string& name : names) {
    paths.push_back(std::string(kScratch) + "\\" + name);
    e2e::Require(ctx, e2e::WriteFileText(paths.back(), "text\r\n"), "file made: " + paths.back());
  }
  HWND menu = OpenMenu(ctx, program, WM_LBUTTONDOWN);
  program.ChooseMenuItem(menu, kLeftEdit);
  HWND editor = WaitWindow(ctx, program, kEditorClass, "the edit window");
  for (const std::string& path : paths) {
    AddFile(ctx, program, editor, path);
    ExpectOkBox(ctx, program, "Vantrel", kFileAdded, "none", "added: " + path);
  }
  Click(ctx, editor, editor::BitBtn1);
  e2e::Require(ctx, e2e::WaitForWindowGone(editor, 5000), "Ok closes the edit window");
  ExpectNoFurtherBox(ctx, program, "the save");
  auto files = e2e::ReadIniSection(SettingsPath(), "Files");
  e2e::Require(ctx, files.has_value(), "the settings file can be read");
  for (std::size_t i = 0; i < paths.size(); ++i)
    e2e::ExpectEq(ctx, files->values["Set11" + std::to_string(i + 1)], paths[i], "entry saved");

  Choose(ctx, program, WM_LBUTTONDOWN, TitleItem(1));
  e2e::Expect(ctx, e2e::WaitUntil([] { return NotepadWindows().size() == 3; }, 15000),
              "three Notepad windows open, got " + std::to_string(NotepadWindows().size()));
  ExpectNoFurtherBox(ctx, program, "the launch");
  CloseNotepads();
  program.Stop();
  e2e::DeleteRegValue(e2e::kRunKey, kRunValue);
}
