// The edit window, its three dialogs and the help window, driven through the
// tray menus and the real windows as a user would: clicks on buttons, text put
// into boxes, keys, the real file chooser, and the settings file read back.
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "e2e.h"
#include "vantrel_ui.h"

namespace {

using e2e::Box;
using e2e::Context;
using e2e::Program;
using namespace e2e::ui;
using e2e::Send;
using e2e::Text;
using e2e::SetText;
using e2e::Selected;

// --- The settings file -----------------------------------------------------------------

// Section "Files" as key -> value; duplicates and lines outside a key=value
// shape are counted so that a test can say the file holds exactly what it expects.
struct FilesSection {
  std::map<std::string, std::string> values;
  int keyLines = 0;
  bool readable = false;
};

FilesSection ReadFiles() {
  FilesSection files;
  auto section = e2e::ReadIniSection(SettingsPath(), "Files");
  if (!section) return files;
  files.values = section->values;
  files.keyLines = section->keyLines;
  files.readable = true;
  return files;
}

// --- Starting ---------------------------------------------------------------------

// A first run: no data folder, so the editor writes the defaults at start.
void StartFirstRun(Context& ctx, Program& program) {
  if (e2e::IsFile(SettingsPath())) SetFileAttributesA(SettingsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
  e2e::RemovePath(DataFolder());
  e2e::Require(ctx, program.Start(ctx), "vantrel.exe started and made its TForm1 window");
  e2e::Require(ctx, e2e::WaitUntil([&] { return program.TrayIconPresent(); }, 10000),
               "the tray icon is up");
  // Written key by key: the run is ready once all 220 are there.
  e2e::Require(ctx, e2e::WaitUntil([] { return ReadFiles().keyLines == 220; }, 10000),
               "the first-run settings file is written");
}

// --- Windows and controls -----------------------------------------------------------

// Typed character by character, as the keyboard would.
void Type(HWND control, const std::string& text) {
  for (char c : text) PostMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}

// Read as wide text: across processes Wine hands LB_GETTEXT's ANSI form the
// wide characters, twice the bytes that the length promises.
std::vector<std::string> ListItems(HWND list) {
  std::vector<std::string> items;
  LRESULT count = Send(list, LB_GETCOUNT);
  for (LRESULT i = 0; i < count; ++i) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0, SMTO_ABORTIFHUNG, 3000,
                        &length);
    std::wstring wide(static_cast<std::size_t>(length) + 64, L'\0');
    SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(i),
                        reinterpret_cast<LPARAM>(wide.data()), SMTO_ABORTIFHUNG, 3000, nullptr);
    wide.resize(std::wcslen(wide.c_str()));
    std::string item(wide.size() * 2 + 1, '\0');
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()),
                                    item.data(), static_cast<int>(item.size()), nullptr, nullptr);
    item.resize(static_cast<std::size_t>(bytes < 0 ? 0 : bytes));
    items.push_back(item);
  }
  return items;
}

// Selects a line and tells the window, as a click on it does.
void ChooseLine(HWND window, int id, int line) {
  HWND list = GetDlgItem(window, id);
  Send(list, LB_SETCURSEL, static_cast<WPARAM>(line));
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

HWND FocusOf(HWND window) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
  return gui.hwndFocus;
}

RECT ClientOf(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r;
}

bool ClientIs(HWND window, int width, int height) {
  RECT r = ClientOf(window);
  return r.right - r.left == width && r.bottom - r.top == height;
}

// Centred within a few pixels (frames differ between systems).
bool Centred(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  int dx = (r.left + r.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2;
  int dy = (r.top + r.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2;
  return dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2;
}

// --- Message boxes --------------------------------------------------------------------

// --- Menus and windows ----------------------------------------------------------------

HWND OpenMenu(Context& ctx, Program& program, LPARAM press) {
  program.PostTrayCallback(press);
  HWND menu = program.WaitForMenu(5000);
  e2e::Require(ctx, menu != nullptr, "the tray press opens a menu");
  return menu;
}

HWND OpenEditorFromLeft(Context& ctx, Program& program) {
  HWND menu = OpenMenu(ctx, program, WM_LBUTTONDOWN);
  program.ChooseMenuItem(menu, kLeftEdit);
  return WaitWindow(ctx, program, kEditorClass, "the edit window");
}

HWND OpenEditorFromRight(Context& ctx, Program& program) {
  HWND menu = OpenMenu(ctx, program, WM_RBUTTONDOWN);
  program.ChooseMenuItem(menu, kRightEdit);
  return WaitWindow(ctx, program, kEditorClass, "the edit window");
}

void CloseEditorWithOk(Context& ctx, HWND editor) {
  Click(ctx, editor, editor::BitBtn1);
  e2e::Require(ctx, e2e::WaitForWindowGone(editor, 5000), "Ok closes the edit window");
}

// The left menu's twenty title captions, title 1 first.
std::vector<std::string> LeftMenuTitles(Context& ctx, Program& program) {
  HWND menu = OpenMenu(ctx, program, WM_LBUTTONDOWN);
  auto items = program.ReadMenu();
  e2e::PressKey(menu, VK_ESCAPE);
  e2e::Require(ctx, e2e::WaitForWindowGone(menu, 5000), "Escape closes the left menu");
  e2e::Require(ctx, items.has_value() && items->size() == 24, "the left menu has 24 items");
  e2e::ExpectEq(ctx, WithoutMarks((*items)[kLeftEdit].caption), "Edit Your List",
                "the item below title 1");
  std::vector<std::string> titles;
  for (int t = 1; t <= 20; ++t) titles.push_back(WithoutMarks((*items)[TitleItem(t)].caption));
  return titles;
}

// --- Dialogs ---------------------------------------------------------------------------

// Waits until the entry list shows `count` lines (the window updates after
// the dialog's modal loop has ended).
std::vector<std::string> EntriesWhen(HWND editor, std::size_t count) {
  HWND list = GetDlgItem(editor, editor::Listapps);
  std::vector<std::string> items;
  e2e::WaitUntil([&] { return (items = ListItems(list)).size() == count; }, 3000);
  return items;
}

std::string Joined(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) out += (out.empty() ? "" : " | ") + item;
  return out;
}

std::string Desc(int t) { return "Desc" + std::to_string(t); }
std::string Set(int t, int i) { return "Set" + std::to_string(t) + std::to_string(t) + std::to_string(i); }

// The file as the first run writes it, with the given names and entries instead.
std::map<std::string, std::string> ExpectedFiles(
    const std::map<int, std::string>& names, const std::map<int, std::vector<std::string>>& entries) {
  std::map<std::string, std::string> expected;
  for (int t = 1; t <= 20; ++t) {
    auto name = names.find(t);
    expected[Desc(t)] = name != names.end() ? name->second : "No Title Entered " + std::to_string(t);
    auto list = entries.find(t);
    for (int i = 1; i <= 10; ++i) {
      const bool filled = list != entries.end() && i <= static_cast<int>(list->second.size());
      expected[Set(t, i)] = filled ? list->second[static_cast<std::size_t>(i - 1)] : "Null";
    }
  }
  return expected;
}

void ExpectFiles(Context& ctx, const std::map<std::string, std::string>& expected,
                 const std::string& when) {
  FilesSection files = ReadFiles();
  e2e::Require(ctx, files.readable, when + ": the settings file can be read");
  e2e::Expect(ctx, files.keyLines == 220,
              when + ": 220 key lines in [Files], got " + std::to_string(files.keyLines));
  int wrong = 0;
  for (const auto& [key, value] : expected) {
    auto found = files.values.find(key);
    std::string got = found == files.values.end() ? "<missing>" : found->second;
    if (got != value && ++wrong <= 5) e2e::ExpectEq(ctx, got, value, when + ": " + key);
  }
  e2e::Expect(ctx, wrong == 0, when + ": " + std::to_string(wrong) + " values differ");
}

// A real file for the chooser to pick, in the user's temporary folder.
std::string MakePickableFile(Context& ctx, const std::string& name) {
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  char full[MAX_PATH] = {};
  GetLongPathNameA(temp, full, sizeof full);
  std::string path = std::string(full[0] ? full : temp) + name;
  e2e::Require(ctx, e2e::WriteFileText(path, "notes for the e2e run\r\n"), "file made: " + path);
  return path;
}

const std::string kSeparator(122, '-');

}  // namespace

// --- Help -------------------------------------------------------------------------------

E2E_CASE(HelpFromTheRightMenuTextKeysAndFreshEachTime) {
  Program program;
  StartFirstRun(ctx, program);
  program.ChooseMenuItem(OpenMenu(ctx, program, WM_RBUTTONDOWN), kRightHelp);
  HWND window = WaitWindow(ctx, program, "TFrmhelp", "\"Help Faq \" shows the help window");
  HWND memo = Control(ctx, window, help::Memo1);
  char caption[64] = {};
  GetWindowTextA(window, caption, sizeof caption);
  e2e::ExpectEq(ctx, caption, "Help FAQ", "caption");
  RECT frame{};
  GetWindowRect(window, &frame);
  e2e::Expect(ctx, frame.left == 274 && frame.top == 284,
              "placed at 274, 284, got " + std::to_string(frame.left) + ", " +
                  std::to_string(frame.top));

  const std::string text = Text(memo);
  e2e::ExpectEq(ctx, text.substr(0, 18), "\r\nVantrel v3.1\r\n\r\n", "the text begins");
  e2e::Expect(ctx, text.find("\r\nSOFTWARE DESCRIPTION:\r\n\r\nThis software allows you to:\r\n1) ") !=
                       std::string::npos,
              "the description heading and the first numbered line");
  e2e::Expect(ctx, text.find("\r\n10) Runs on all Windows systems.\r\n") != std::string::npos,
              "the tenth numbered line");
  e2e::Expect(ctx, text.find("\r\nHELP FAQ\r\n" + kSeparator + "\r\n") != std::string::npos,
              "HELP FAQ with its separator");
  std::size_t separators = 0;
  for (std::size_t at = text.find(kSeparator); at != std::string::npos;
       at = text.find(kSeparator, at + 1)) {
    ++separators;
    at += kSeparator.size() - 1;
  }
  e2e::Expect(ctx, separators == 8, "eight separator lines, got " + std::to_string(separators));
  e2e::Expect(ctx, text.find(std::string(123, '-')) == std::string::npos,
              "no separator longer than 122 hyphens");
  e2e::Expect(ctx, text.size() >= kSeparator.size() + 2 &&
                       text.compare(text.size() - kSeparator.size() - 2, std::string::npos,
                                    "\r\n" + kSeparator) == 0,
              "the text ends with a separator line");
  e2e::Expect(ctx, text.find("\r\nCan I add any application to the system tray.\r\n\r\nYes, you can "
                             "select any application or file of any type on your pc.\r\n\r\n" +
                             kSeparator) != std::string::npos,
              "the last question block");

  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
  e2e::Expect(ctx, gui.hwndFocus == memo, "the text box has the focus");
  e2e::Screenshot(ctx, "help", window);

  // Typing and Enter change the box and keep the window open.
  Type(memo, "typed");
  e2e::PressKey(window, VK_RETURN);
  e2e::Expect(ctx, e2e::WaitUntil([&] { return Text(memo).size() == text.size() + 7; }, 3000),
              "the typed text and a new line are in the box");
  e2e::Expect(ctx, Text(memo).find("typed\r\n") != std::string::npos, "Enter made a new line");
  e2e::Expect(ctx, IsWindowVisible(window) != FALSE, "Enter in the text box does not close");

  e2e::PressKey(window, VK_TAB);
  e2e::Expect(ctx, e2e::WaitUntil([&] {
                GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
                return gui.hwndFocus == GetDlgItem(window, help::BitBtn1);
              }, 3000),
              "Tab moves the focus to OK");
  e2e::PressKey(window, VK_RETURN);
  e2e::Require(ctx, e2e::WaitForWindowGone(window, 5000), "Enter on OK closes the window");

  // A fresh window the next time: the original text, at its first line.
  program.ChooseMenuItem(OpenMenu(ctx, program, WM_RBUTTONDOWN), kRightHelp);
  HWND again = WaitWindow(ctx, program, "TFrmhelp", "the help window again");
  HWND memo2 = Control(ctx, again, help::Memo1);
  e2e::Expect(ctx, Text(memo2) == text, "the next showing has the original text");
  e2e::Expect(ctx, Send(memo2, EM_GETFIRSTVISIBLELINE) == 0, "scrolled to the first line");
  PostMessageA(again, WM_CLOSE, 0, 0);
  e2e::Expect(ctx, e2e::WaitForWindowGone(again, 5000), "the close box closes it");
  e2e::Expect(ctx, program.Running(), "the program runs on");
}

E2E_CASE(HelpFromTheEditorLeavesTheEditorAsItWas) {
  Program program;
  StartFirstRun(ctx, program);
  HWND editor = OpenEditorFromRight(ctx, program);
  ChooseLine(editor, editor::Listtitles, 6);
  e2e::Expect(ctx, e2e::WaitUntil([&] { return Selected(GetDlgItem(editor, editor::Listtitles)) == 6; },
                                  3000),
              "title 7 selected");
  Click(ctx, editor, editor::BitBtn2);
  HWND window = WaitWindow(ctx, program, "TFrmhelp", "the editor's Help");
  e2e::Expect(ctx, GetWindow(window, GW_OWNER) == editor, "the help window is owned by the editor");
  e2e::Expect(ctx, !IsWindowEnabled(editor), "the editor takes no input meanwhile");
  e2e::ExpectEq(ctx, Text(Control(ctx, window, help::Memo1)).substr(0, 14), "\r\nVantrel v3.1",
                "the same text");
  Click(ctx, window, help::BitBtn1);
  e2e::Require(ctx, e2e::WaitForWindowGone(window, 5000), "OK closes the help window");
  e2e::Expect(ctx, e2e::WaitUntil([&] { return IsWindowEnabled(editor) != FALSE; }, 3000),
              "the editor answers again");
  e2e::Expect(ctx, IsWindowVisible(editor) != FALSE, "the editor is still open");
  e2e::Expect(ctx, Selected(GetDlgItem(editor, editor::Listtitles)) == 6, "title 7 still selected");
  PostMessageA(editor, WM_CLOSE, 0, 0);
  e2e::Expect(ctx, e2e::WaitForWindowGone(editor, 5000), "the close box closes the editor");
}

// --- Dialogs -----------------------------------------------------------------------------

E2E_CASE(DialogAddFileRealChooserAndCancel) {
  Program program;
  StartFirstRun(ctx, program);
  const std::string path = MakePickableFile(ctx, "vantrel e2e notes.txt");
  HWND editor = OpenEditorFromLeft(ctx, program);
  e2e::Screenshot(ctx, "editor", editor);

  Click(ctx, editor, editor::Cmdany);
  HWND dialog = WaitWindow(ctx, program, "TFrmedadd", "the add-file dialog");
  char caption[64] = {};
  GetWindowTextA(dialog, caption, sizeof caption);
  e2e::ExpectEq(ctx, caption, "", "the add-file dialog shows no title");
  e2e::Expect(ctx, Centred(dialog), "the add-file dialog is centred");
  e2e::Expect(ctx, ClientIs(dialog, 320, 108), "client area 320 x 108");
  e2e::Expect(ctx, !IsWindowVisible(GetDlgItem(dialog, addfile::Edit1)), "the path field is never shown");

  // A cancelled chooser leaves the dialog open and says nothing.
  Click(ctx, dialog, addfile::Cmdselect);
  HWND chooser = program.WaitForWindow("#32770", 10000);
  e2e::Require(ctx, chooser != nullptr, "\"Add \" opens the file chooser");
  e2e::Screenshot(ctx, "dialog-addfile-chooser");
  e2e::Require(ctx, e2e::PressBoxButton(chooser, IDCANCEL), "the chooser's Cancel pressed");
  e2e::Require(ctx, e2e::WaitForWindowGone(chooser, 5000), "the chooser closes");
  ExpectNoBox(ctx, program, "a cancelled chooser");
  e2e::Expect(ctx, IsWindowVisible(dialog) != FALSE, "the dialog stays open");
  e2e::Expect(ctx, e2e::WaitUntil([&] { return FocusOf(dialog) == GetDlgItem(dialog, addfile::Cmdselect); },
                                  2000),
              "\"Add \" has the focus again");
  e2e::Screenshot(ctx, "dialog-addfile", dialog);

  // Escape is the dialog's Cancel: the editor says nothing was added.
  e2e::PressKey(dialog, VK_ESCAPE);
  e2e::Require(ctx, e2e::WaitForWindowGone(dialog, 5000), "Escape closes the dialog");
  ExpectOkBox(ctx, program, "Information", kFileCancelled, "information", "cancelled add");
  e2e::Expect(ctx, EntriesWhen(editor, 0).empty(), "nothing added");

  // A real pick: the path reaches the entry list, with the plain success box.
  AddFile(ctx, program, editor, path);
  ExpectOkBox(ctx, program, "Vantrel", kFileAdded, "none", "file added");
  std::vector<std::string> entries = EntriesWhen(editor, 1);
  e2e::ExpectEq(ctx, Joined(entries), path, "the entry list holds the chosen path");
  e2e::Expect(ctx, Selected(GetDlgItem(editor, editor::Listapps)) == 0, "line 1 selected");

  // The same file again: allowed, and the chooser offers the last path.
  Click(ctx, editor, editor::Cmdany);
  dialog = WaitWindow(ctx, program, "TFrmedadd", "the add-file dialog again");
  Click(ctx, dialog, addfile::Cmdselect);
  chooser = program.WaitForWindow("#32770", 10000);
  e2e::Require(ctx, chooser != nullptr, "the chooser opens again");
  HWND name = nullptr;
  e2e::WaitUntil([&] { return (name = GetDlgItem(chooser, kChooserNameBox)); }, 5000);
  std::string offered = name ? Text(name) : "";
  e2e::Expect(ctx, !offered.empty() && path.find(offered) != std::string::npos,
              "the chooser offers the last file, got \"" + offered + "\"");
  e2e::Require(ctx, e2e::PressBoxButton(chooser, IDOK), "Open pressed on the offered name");
  e2e::Require(ctx, e2e::WaitForWindowGone(dialog, 5000), "the dialog closes");
  ExpectOkBox(ctx, program, "Vantrel", kFileAdded, "none", "same file added again");
  e2e::ExpectEq(ctx, Joined(EntriesWhen(editor, 2)), path + " | " + path, "added twice");

  PostMessageA(editor, WM_CLOSE, 0, 0);
  e2e::Expect(ctx, e2e::WaitForWindowGone(editor, 5000), "the close box closes the editor");
  e2e::RemovePath(path);
}

E2E_CASE(DialogWebPageRefusalsExampleReturnAndMemory) {
  Program program;
  StartFirstRun(ctx, program);
  HWND editor = OpenEditorFromRight(ctx, program);
  HWND dialog = OpenWebDialog(ctx, program, editor);
  RECT frame{};
  GetWindowRect(dialog, &frame);
  e2e::Expect(ctx, frame.left == 275 && frame.top == 240,
              "placed at 275, 240, got " + std::to_string(frame.left) + ", " +
                  std::to_string(frame.top));
  e2e::Expect(ctx, ClientIs(dialog, 545, 201), "client area 545 x 201");
  HWND box = Control(ctx, dialog, webpage::Edit1);
  e2e::ExpectEq(ctx, Text(box), "http://", "the box starts with http://");
  e2e::Screenshot(ctx, "dialog-webpage", dialog);

  // "http://" alone, with blanks around it, or only blanks: refused, the dialog stays.
  for (const std::string& refused : {std::string("http://"), std::string("  http://  "),
                                     std::string("   ")}) {
    SetText(box, refused);
    Click(ctx, dialog, webpage::BitBtn1);
    ExpectOkBox(ctx, program, "Vantrel", kNoAddress, "none", "\"" + refused + "\" refused");
    e2e::Expect(ctx, IsWindowVisible(dialog) != FALSE, "the dialog stays open");
  }
  // The focus goes back where the click left it.
  e2e::Expect(ctx, e2e::WaitUntil([&] { return FocusOf(dialog) == GetDlgItem(dialog, webpage::BitBtn1); },
                                  2000),
              "\"Add \" has the focus again after the refusal");

  // In capitals it is accepted, and handed over as typed.
  SetText(box, "HTTP://");
  Click(ctx, dialog, webpage::BitBtn1);
  e2e::Require(ctx, e2e::WaitForWindowGone(dialog, 5000), "\"HTTP://\" is accepted");
  ExpectNoBox(ctx, program, "an accepted address");
  e2e::ExpectEq(ctx, Joined(EntriesWhen(editor, 1)), "HTTP://", "the entry");

  // The next showing keeps the last text; the example fills in the maker's site.
  dialog = OpenWebDialog(ctx, program, editor);
  box = Control(ctx, dialog, webpage::Edit1);
  e2e::ExpectEq(ctx, Text(box), "HTTP://", "the box keeps the last address");
  Click(ctx, dialog, webpage::BitBtn2);
  HWND example = program.WaitForWindow("#32770", 10000);
  e2e::Require(ctx, example != nullptr, "the example's message box");
  Box read = e2e::ReadBox(example);
  e2e::ExpectEq(ctx, read.caption, "Vantrel", "example box caption");
  const std::string opening =
      "Simply type in the webpage address into the box. For example, if you wish to open " +
      std::string(kMakerSite);
  e2e::ExpectEq(ctx, read.text.substr(0, opening.size()), opening, "example box opening");
  e2e::ExpectEq(ctx, Text(box), kMakerSite, "the box holds the maker's address");
  Answer(ctx, example, IDOK, "example box");
  e2e::Expect(ctx, IsWindowVisible(dialog) != FALSE, "the dialog stays open after the example");

  // Return is a cancel for the editor, and the box keeps what it held.
  Click(ctx, dialog, webpage::BitBtn3);
  e2e::Require(ctx, e2e::WaitForWindowGone(dialog, 5000), "Return closes the dialog");
  ExpectOkBox(ctx, program, "Information", kWebCancelled, "information", "web cancelled");
  e2e::ExpectEq(ctx, Joined(EntriesWhen(editor, 1)), "HTTP://", "nothing added by Return");

  // Blanks around an address are kept; the close box is a cancel too.
  dialog = OpenWebDialog(ctx, program, editor);
  e2e::ExpectEq(ctx, Text(Control(ctx, dialog, webpage::Edit1)), kMakerSite,
                "the box keeps the example address");
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  e2e::Require(ctx, e2e::WaitForWindowGone(dialog, 5000), "the close box closes the dialog");
  ExpectOkBox(ctx, program, "Information", kWebCancelled, "information", "closed by its box");
  AddWeb(ctx, program, editor, " www.example.org ");
  e2e::ExpectEq(ctx, Joined(EntriesWhen(editor, 2)), "HTTP:// |  www.example.org ",
                "blanks kept");

  PostMessageA(editor, WM_CLOSE, 0, 0);
  e2e::Expect(ctx, e2e::WaitForWindowGone(editor, 5000), "the close box closes the editor");
}

E2E_CASE(DialogRenameLimitAndCloseBox) {
  Program program;
  StartFirstRun(ctx, program);
  HWND editor = OpenEditorFromLeft(ctx, program);
  HWND titles = GetDlgItem(editor, editor::Listtitles);
  ChooseLine(editor, editor::Listtitles, 1);
  e2e::WaitUntil([&] { return Selected(titles) == 1; }, 3000);
  Click(ctx, editor, editor::Button1);
  HWND dialog = WaitWindow(ctx, program, "TFrmtitlechg", "the rename dialog");
  char caption[64] = {};
  GetWindowTextA(dialog, caption, sizeof caption);
  e2e::ExpectEq(ctx, caption, "Title Name Modification", "caption");
  e2e::Expect(ctx, Centred(dialog), "the rename dialog is centred");
  e2e::Expect(ctx, ClientIs(dialog, 427, 190), "client area 427 x 190");
  e2e::Expect(ctx, GetWindow(dialog, GW_OWNER) == editor, "owned by the editor");
  HWND box = Control(ctx, dialog, titlechg::Edit1);
  e2e::ExpectEq(ctx, Text(box), "No Title Entered 2", "the box holds the selected name");
  e2e::Expect(ctx, Send(box, EM_GETLIMITTEXT) == 25, "at most 25 characters can be typed");
  e2e::Screenshot(ctx, "dialog-rename", dialog);

  // Typing stops at 25 characters.
  Send(box, EM_SETSEL, 0, -1);
  Type(box, "abcdefghijklmnopqrstuvwxyz0123");
  e2e::Expect(ctx, e2e::WaitUntil([&] { return Text(box) == "abcdefghijklmnopqrstuvwxy"; }, 3000),
              "typing keeps 25 characters, got \"" + Text(box) + "\"");
  // Characters, not bytes: of 30 Cyrillic letters (two bytes each), 25 stay.
  Send(box, EM_SETSEL, 0, -1);
  std::wstring letters;
  for (int i = 0; i < 30; ++i) letters += static_cast<wchar_t>(0x0430 + i % 26);
  for (wchar_t c : letters) PostMessageW(box, WM_CHAR, c, 1);
  std::string kept(50, '\0');
  WideCharToMultiByte(CP_UTF8, 0, letters.c_str(), 25, kept.data(), 50, nullptr, nullptr);
  e2e::Expect(ctx, e2e::WaitUntil([&] { return Text(box) == kept; }, 3000),
              "typing keeps 25 Cyrillic letters, got \"" + Text(box) + "\"");

  // The close box renames as well.
  SetText(box, "Via close box");
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  e2e::Require(ctx, e2e::WaitForWindowGone(dialog, 5000), "the close box closes the dialog");
  e2e::Expect(ctx, e2e::WaitUntil([&] { return ListItems(titles).size() == 20 &&
                                               ListItems(titles)[1] == "Via close box"; }, 3000),
              "title 2 renamed");
  e2e::Expect(ctx, Selected(titles) == 1, "the same title stays selected");
  e2e::Expect(ctx, !IsWindow(dialog), "the dialog is destroyed after its use");

  // A longer name put there by the program is shown whole and kept.
  Rename(ctx, program, editor, "A name much longer than twenty-five characters");
  Click(ctx, editor, editor::Button1);
  dialog = WaitWindow(ctx, program, "TFrmtitlechg", "the rename dialog again");
  e2e::ExpectEq(ctx, Text(Control(ctx, dialog, titlechg::Edit1)),
                "A name much longer than twenty-five characters", "a long name stays whole");
  Click(ctx, dialog, titlechg::Button1);
  e2e::Require(ctx, e2e::WaitForWindowGone(dialog, 5000), "Ok closes it");
  e2e::Expect(ctx, e2e::WaitUntil([&] {
                return ListItems(titles)[1] == "A name much longer than twenty-five characters";
              }, 3000),
              "the long name is unchanged");
  PostMessageA(editor, WM_CLOSE, 0, 0);
  e2e::Expect(ctx, e2e::WaitForWindowGone(editor, 5000), "the close box closes the editor");
}

// --- The editor ---------------------------------------------------------------------------

E2E_CASE(EditorRoundTripToTheMenuAndTheFile) {
  Program program;
  StartFirstRun(ctx, program);
  ExpectFiles(ctx, ExpectedFiles({}, {}), "first run");
  const std::string path = MakePickableFile(ctx, "round trip.txt");

  HWND editor = OpenEditorFromLeft(ctx, program);
  HWND titles = GetDlgItem(editor, editor::Listtitles);
  std::vector<std::string> names = ListItems(titles);
  e2e::Require(ctx, names.size() == 20, "twenty titles listed");
  e2e::ExpectEq(ctx, names[0], "No Title Entered 1", "first placeholder");
  e2e::ExpectEq(ctx, names[19], "No Title Entered 20", "last placeholder");
  e2e::Expect(ctx, Selected(titles) == 0, "title 1 selected at the first showing");

  ChooseLine(editor, editor::Listtitles, 2);
  e2e::Require(ctx, e2e::WaitUntil([&] { return Selected(titles) == 2; }, 3000), "title 3 chosen");
  Rename(ctx, program, editor, "Work stuff");
  AddFile(ctx, program, editor, path);
  ExpectOkBox(ctx, program, "Vantrel", kFileAdded, "none", "file added");
  AddWeb(ctx, program, editor, "https://example.org/news");
  e2e::ExpectEq(ctx, Joined(EntriesWhen(editor, 2)), path + " | https://example.org/news",
                "the entry list");
  CloseEditorWithOk(ctx, editor);

  ExpectFiles(ctx, ExpectedFiles({{3, "Work stuff"}}, {{3, {path, "https://example.org/news"}}}),
              "after Ok");
  std::vector<std::string> menu = LeftMenuTitles(ctx, program);
  e2e::ExpectEq(ctx, menu[2], "Work stuff", "the left menu shows title 3's name");
  int named = 0;
  for (const std::string& caption : menu) named += caption.empty() ? 0 : 1;
  e2e::Expect(ctx, named == 1, "the other titles stay empty items");

  // Back in the editor: title 3 keeps its entries, another title has none.
  editor = OpenEditorFromLeft(ctx, program);
  e2e::Expect(ctx, Selected(GetDlgItem(editor, editor::Listtitles)) == 2, "title 3 still selected");
  e2e::ExpectEq(ctx, Joined(EntriesWhen(editor, 2)), path + " | https://example.org/news",
                "entries shown again");
  ChooseLine(editor, editor::Listtitles, 0);
  e2e::Expect(ctx, EntriesWhen(editor, 0).empty(), "title 1 has no entries");
  ChooseLine(editor, editor::Listtitles, 2);
  e2e::ExpectEq(ctx, Joined(EntriesWhen(editor, 2)), path + " | https://example.org/news",
                "title 3's entries come back");
  PostMessageA(editor, WM_CLOSE, 0, 0);
  e2e::Expect(ctx, e2e::WaitForWindowGone(editor, 5000), "the close box closes the editor");
  e2e::RemovePath(path);
}

E2E_CASE(EditorLimitRemoveAllAndEmptyName) {
  Program program;
  StartFirstRun(ctx, program);
  const std::string path = MakePickableFile(ctx, "eleventh.txt");
  HWND editor = OpenEditorFromRight(ctx, program);
  std::vector<std::string> ten;
  for (int i = 1; i <= 10; ++i) {
    ten.push_back("https://example.org/" + std::to_string(i));
    AddWeb(ctx, program, editor, ten.back());
  }
  e2e::Require(ctx, EntriesWhen(editor, 10).size() == 10, "ten entries listed");
  e2e::Expect(ctx, Selected(GetDlgItem(editor, editor::Listapps)) == 0,
              "line 1 selected after the adds");

  // The eleventh: the dialog and the chooser still open; then the limit.
  AddFile(ctx, program, editor, path);
  ExpectOkBox(ctx, program, "Information", kLimit, "information", "eleventh file");
  Click(ctx, editor, editor::BitBtn4);
  HWND dialog = WaitWindow(ctx, program, "TFrmwebpage", "the web page dialog at ten entries");
  SetText(Control(ctx, dialog, webpage::Edit1), "https://example.org/11");
  Click(ctx, dialog, webpage::BitBtn1);
  e2e::Require(ctx, e2e::WaitForWindowGone(dialog, 5000), "the address is accepted");
  ExpectOkBox(ctx, program, "Information", kLimit, "information", "eleventh address");
  e2e::ExpectEq(ctx, Joined(EntriesWhen(editor, 10)), Joined(ten), "still the ten entries");

  // Remove the fourth, then everything, then once more.
  HWND apps = GetDlgItem(editor, editor::Listapps);
  Send(apps, LB_SETCURSEL, 3);
  Click(ctx, editor, editor::Cmddel);
  ten.erase(ten.begin() + 3);
  e2e::ExpectEq(ctx, Joined(EntriesWhen(editor, 9)), Joined(ten), "the selected line removed");
  e2e::Expect(ctx, Selected(apps) == 0, "line 1 selected after a remove");
  for (std::size_t left = 9; left > 0; --left) {
    Click(ctx, editor, editor::Cmddel);
    e2e::Require(ctx, EntriesWhen(editor, left - 1).size() == left - 1,
                 "one line removed, " + std::to_string(left - 1) + " left");
  }
  Click(ctx, editor, editor::Cmddel);
  ExpectOkBox(ctx, program, "Warning", kRemoveEmpty, "warning", "remove from an empty list");

  // An empty name is saved as empty and shows as an empty item.
  Rename(ctx, program, editor, "Temporary");
  Rename(ctx, program, editor, "");
  e2e::Expect(ctx, e2e::WaitUntil([&] {
                auto names = ListItems(GetDlgItem(editor, editor::Listtitles));
                return names.size() == 20 && names[0].empty();
              }, 3000),
              "title 1 is an empty line");
  CloseEditorWithOk(ctx, editor);
  ExpectFiles(ctx, ExpectedFiles({{1, ""}}, {}), "after removing all and an empty name");
  std::vector<std::string> menu = LeftMenuTitles(ctx, program);
  e2e::ExpectEq(ctx, menu[0], "", "title 1's item is empty");
  e2e::RemovePath(path);
}

E2E_CASE(EditorCloseBoxKeepsEditsUnsaved) {
  Program program;
  StartFirstRun(ctx, program);
  const auto before = e2e::ReadFileText(SettingsPath());
  HWND editor = OpenEditorFromLeft(ctx, program);
  ChooseLine(editor, editor::Listtitles, 4);
  e2e::WaitUntil([&] { return Selected(GetDlgItem(editor, editor::Listtitles)) == 4; }, 3000);
  Rename(ctx, program, editor, "Unsaved name");
  AddWeb(ctx, program, editor, "https://example.org/unsaved");
  PostMessageA(editor, WM_CLOSE, 0, 0);
  e2e::Require(ctx, e2e::WaitForWindowGone(editor, 5000), "the close box closes the editor");
  e2e::Expect(ctx, e2e::ReadFileText(SettingsPath()) == before, "the file is unchanged");
  e2e::ExpectEq(ctx, LeftMenuTitles(ctx, program)[4], "", "the menu keeps the old name");

  editor = OpenEditorFromRight(ctx, program);
  auto names = ListItems(GetDlgItem(editor, editor::Listtitles));
  e2e::Expect(ctx, names.size() == 20 && names[4] == "Unsaved name", "the new name is shown");
  e2e::Expect(ctx, Selected(GetDlgItem(editor, editor::Listtitles)) == 4, "title 5 still selected");
  e2e::ExpectEq(ctx, Joined(EntriesWhen(editor, 1)), "https://example.org/unsaved",
                "the unsaved entry is shown");
  CloseEditorWithOk(ctx, editor);
  ExpectFiles(ctx, ExpectedFiles({{5, "Unsaved name"}}, {{5, {"https://example.org/unsaved"}}}),
              "the next Ok writes it all");
  e2e::ExpectEq(ctx, LeftMenuTitles(ctx, program)[4], "Unsaved name", "the menu shows it now");
}

E2E_CASE(EditorReadOnlyFileReportsThenNextOkSaves) {
  Program program;
  StartFirstRun(ctx, program);
  const std::string settings = SettingsPath();
  const auto before = e2e::ReadFileText(settings);
  e2e::Require(ctx, SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_READONLY) != FALSE,
               "the settings file made read-only");

  HWND editor = OpenEditorFromLeft(ctx, program);
  ChooseLine(editor, editor::Listtitles, 7);
  e2e::WaitUntil([&] { return Selected(GetDlgItem(editor, editor::Listtitles)) == 7; }, 3000);
  Rename(ctx, program, editor, "Kept in memory");
  AddWeb(ctx, program, editor, "https://example.org/kept");
  Click(ctx, editor, editor::BitBtn1);
  HWND error = ExpectBox(ctx, program, "Vantrel", "Unable to write to " + settings + ".", "error",
                         {IDOK}, "a read-only file");
  Answer(ctx, error, IDOK, "a read-only file");
  e2e::Expect(ctx, e2e::WaitForWindowGone(editor, 5000), "the edit window closes all the same");
  e2e::Expect(ctx, e2e::ReadFileText(settings) == before, "the file is unchanged");
  e2e::Expect(ctx, program.Running(), "the program runs on");

  SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_NORMAL);
  editor = OpenEditorFromRight(ctx, program);
  e2e::ExpectEq(ctx, Joined(EntriesWhen(editor, 1)), "https://example.org/kept",
                "the edits are still there");
  CloseEditorWithOk(ctx, editor);
  ExpectNoBox(ctx, program, "a writable file");
  ExpectFiles(ctx, ExpectedFiles({{8, "Kept in memory"}}, {{8, {"https://example.org/kept"}}}),
              "the next Ok saves everything");
}

E2E_CASE(EditorClicksInTheTitleListAndEnterSaves) {
  Program program;
  StartFirstRun(ctx, program);
  HWND editor = OpenEditorFromLeft(ctx, program);
  HWND titles = GetDlgItem(editor, editor::Listtitles);
  const LPARAM height = Send(titles, LB_GETITEMHEIGHT);
  e2e::Require(ctx, height > 0, "the title list's line height");
  auto clickLine = [&](int line) {
    const LPARAM at = MAKELPARAM(20, line * height + height / 2);
    PostMessageA(titles, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(titles, WM_LBUTTONUP, 0, at);
  };

  clickLine(3);
  e2e::Require(ctx, e2e::WaitUntil([&] { return Selected(titles) == 3; }, 3000),
               "a click on line 4 selects title 4");
  AddWeb(ctx, program, editor, "https://example.org/four");
  // A click on the selected name stores and shows the same title again.
  clickLine(3);
  e2e::ExpectEq(ctx, Joined(EntriesWhen(editor, 1)), "https://example.org/four",
                "the entry stays after clicking the selected name");
  Rename(ctx, program, editor, "Four");
  clickLine(3);  // the list has the focus again, as after a click
  e2e::Expect(ctx, e2e::WaitUntil([&] { return FocusOf(editor) == titles; }, 2000),
              "the title list has the focus");
  e2e::PressKey(editor, VK_RETURN);
  e2e::Require(ctx, e2e::WaitForWindowGone(editor, 5000), "Enter in the title list presses Ok");
  ExpectFiles(ctx, ExpectedFiles({{4, "Four"}}, {{4, {"https://example.org/four"}}}),
              "saved by Enter");
}

// --- The settings file's own lines and encodings ---------------------------------------------

namespace {

// The file with one line replaced, for a comparison byte for byte.
std::string WithLine(std::string text, const std::string& line, const std::string& replacement) {
  const std::size_t at = text.find(line);
  if (at != std::string::npos) text.replace(at, line.size(), replacement);
  return text;
}

// A hand-kept file: a note line, then the twenty titles (the first three
// named as given) and their empty slots.
std::string TitlesFile(const std::string& note, const std::string& one, const std::string& two,
                       const std::string& three) {
  std::string text = "; notes about the " + note + "\r\n[Files]\r\n";
  for (int t = 1; t <= 20; ++t) {
    text += Desc(t) + "=" +
            (t == 1 ? one : t == 2 ? two : t == 3 ? three : "No Title Entered " + std::to_string(t)) +
            "\r\n";
    for (int i = 1; i <= 10; ++i) text += Set(t, i) + "=Null\r\n";
  }
  return text;
}

// UTF-16BE with its BOM, as some editors save.
std::string Utf16BeWithBom(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(),
                                                           static_cast<int>(utf8.size()),
                                                           wide.data(), static_cast<int>(wide.size()))));
  std::string out = "\xFE\xFF";
  for (wchar_t c : wide) out.append({static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)});
  return out;
}

void ExpectBytes(Context& ctx, const std::string& expected, const std::string& when) {
  const std::string got = e2e::ReadFileText(SettingsPath()).value_or("<unreadable>");
  std::size_t differs = 0;
  while (differs < got.size() && differs < expected.size() && got[differs] == expected[differs])
    ++differs;
  e2e::Expect(ctx, got == expected,
              when + ": the file byte for byte as expected; it differs from byte " +
                  std::to_string(differs) + " on: \"" + got.substr(differs, 60) + "\"");
}

}  // namespace

// A virus scanner or a sync tool that holds the file for a moment must not
// make the save start from an empty file.
E2E_CASE(EditorOkThroughAShortLockKeepsEveryOtherLine) {
  Program program;
  StartFirstRun(ctx, program);
  const std::string edited = "; my own notes\r\n" + e2e::ReadFileText(SettingsPath()).value_or("") +
                             "[SSaver]\r\nName=C:\\old.scr\r\n";
  e2e::Require(ctx, e2e::WriteFileText(SettingsPath(), edited), "hand-edited lines added");
  // The file's own attributes stay with it.
  e2e::Require(ctx, SetFileAttributesA(SettingsPath().c_str(), FILE_ATTRIBUTE_HIDDEN) != FALSE,
               "the settings file made hidden");
  HWND editor = OpenEditorFromLeft(ctx, program);
  Rename(ctx, program, editor, "Saved through a lock");
  e2e::Require(ctx, e2e::HoldUnshared(SettingsPath(), 50,
                                      [&] { Click(ctx, editor, editor::BitBtn1); }),
               "the settings file held without sharing");
  e2e::Require(ctx, e2e::WaitForWindowGone(editor, 5000), "Ok closes the edit window");
  ExpectNoBox(ctx, program, "a lock of 50 ms");
  ExpectBytes(ctx, WithLine(edited, "Desc1=No Title Entered 1\r\n", "Desc1=Saved through a lock\r\n"),
              "after Ok");
  const DWORD attributes = GetFileAttributesA(SettingsPath().c_str());
  e2e::Expect(ctx, attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN) != 0,
              "the file is still hidden");
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((DataFolder() + "\\*.new").c_str(), &found);
  e2e::Expect(ctx, search == INVALID_HANDLE_VALUE, "nothing written beside is left behind");
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  SetFileAttributesA(SettingsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A file in the legacy code page (1252 here) reads right, keeps its bytes
// where it can hold a new name, and becomes UTF-8 as a whole where it cannot.
E2E_CASE(EditorLegacyFileReadsRightAndKeepsItsEncoding) {
  DWORD codePage = 0;
  GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                 reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(WCHAR));
  e2e::Require(ctx, codePage == 1252, "the legacy code page is 1252, got " + std::to_string(codePage));
  auto file = [](const std::string& cafe, const std::string& two, const std::string& three) {
    return TitlesFile(cafe, cafe, two, three);
  };
  const std::string cafe = "caf\xC3\xA9", the = "th\xC3\xA9";
  const std::string privet = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";
  e2e::RemovePath(DataFolder());
  CreateDirectoryA(DataFolder().c_str(), nullptr);
  const std::string legacy = file("caf\xE9", "No Title Entered 2", "No Title Entered 3");
  e2e::Require(ctx, e2e::WriteFileText(SettingsPath(), legacy), "legacy file written");

  Program program;
  StartReady(ctx, program);
  e2e::ExpectEq(ctx, LeftMenuTitles(ctx, program)[0], cafe, "the menu shows title 1");
  HWND editor = OpenEditorFromLeft(ctx, program);
  HWND titles = GetDlgItem(editor, editor::Listtitles);
  e2e::ExpectEq(ctx, ListItems(titles)[0], cafe, "the editor lists title 1");
  ChooseLine(editor, editor::Listtitles, 1);
  e2e::Require(ctx, e2e::WaitUntil([&] { return Selected(titles) == 1; }, 3000), "title 2 chosen");
  Rename(ctx, program, editor, the);
  CloseEditorWithOk(ctx, editor);
  ExpectNoBox(ctx, program, "a name the code page holds");
  ExpectBytes(ctx, WithLine(legacy, "Desc2=No Title Entered 2\r\n", "Desc2=th\xE9\r\n"),
              "still in the legacy code page");

  editor = OpenEditorFromLeft(ctx, program);
  titles = GetDlgItem(editor, editor::Listtitles);
  ChooseLine(editor, editor::Listtitles, 2);
  e2e::Require(ctx, e2e::WaitUntil([&] { return Selected(titles) == 2; }, 3000), "title 3 chosen");
  Rename(ctx, program, editor, privet);
  CloseEditorWithOk(ctx, editor);
  ExpectNoBox(ctx, program, "a name the code page cannot hold");
  ExpectBytes(ctx, file(cafe, the, privet), "the whole file in UTF-8");
  e2e::ExpectEq(ctx, LeftMenuTitles(ctx, program)[2], privet, "the menu shows title 3");
}

// --- Two running copies, a held file and what a kill left ------------------------------------

namespace {

void RenameTitle(Context& ctx, Program& program, HWND editor, int title, const std::string& name) {
  HWND titles = GetDlgItem(editor, editor::Listtitles);
  ChooseLine(editor, editor::Listtitles, title - 1);
  e2e::Require(ctx, e2e::WaitUntil([&] { return Selected(titles) == title - 1; }, 3000),
               "title " + std::to_string(title) + " chosen");
  Rename(ctx, program, editor, name);
}

// After an Ok: true when the edit window closed without a box; a box must be
// the failed save's, and is answered.
bool SavedWithoutBox(Context& ctx, Program& program, HWND editor, const std::string& when) {
  HWND box = nullptr;
  e2e::WaitUntil([&] {
    return !IsWindow(editor) || (box = program.WaitForWindow("#32770", 1)) != nullptr;
  }, 8000);
  if (box == nullptr) box = program.WaitForWindow("#32770", 300);
  if (box != nullptr) {
    e2e::ExpectEq(ctx, e2e::ReadBox(box).text, "Unable to write to " + SettingsPath() + ".",
                  when + ": the only box a save may show");
    e2e::PressBoxButton(box, IDOK);
  }
  e2e::Expect(ctx, e2e::WaitForWindowGone(editor, 5000), when + ": Ok closes the edit window");
  return box == nullptr;
}

}  // namespace

// Two copies never undo each other: the one started first saves only what it
// changed, and two Oks at the same moment keep both edits (or report the one
// that failed and keep everything else).
E2E_CASE(EditorTwoCopiesNeverUndoEachOthersSaves) {
  Program first, second;
  StartFirstRun(ctx, first);
  StartReady(ctx, second);
  std::map<int, std::string> names;
  HWND editor = OpenEditorFromLeft(ctx, second);
  RenameTitle(ctx, second, editor, 20, names[20] = "Saved by the second");
  CloseEditorWithOk(ctx, editor);
  const std::string byHand = WithLine(e2e::ReadFileText(SettingsPath()).value_or(""),
                                      "Set991=Null\r\n", "Set991=C:\\by hand.txt\r\n");
  e2e::Require(ctx, e2e::WriteFileText(SettingsPath(), byHand), "a hand edit of title 9");
  editor = OpenEditorFromLeft(ctx, first);
  RenameTitle(ctx, first, editor, 19, names[19] = "Saved by the first");
  CloseEditorWithOk(ctx, editor);
  ExpectNoBox(ctx, first, "one copy after the other");
  const std::map<int, std::vector<std::string>> entries = {{9, {"C:\\by hand.txt"}}};
  ExpectFiles(ctx, ExpectedFiles(names, entries), "one copy after the other");

  for (int round = 1; round <= 10; ++round) {
    const std::string when = "round " + std::to_string(round);
    HWND a = OpenEditorFromLeft(ctx, first);
    HWND b = OpenEditorFromLeft(ctx, second);
    const std::string aName = "First " + std::to_string(round);
    const std::string bName = "Second " + std::to_string(round);
    RenameTitle(ctx, first, a, 2 * round - 1, aName);
    RenameTitle(ctx, second, b, 2 * round, bName);
    Click(ctx, a, editor::BitBtn1);
    Click(ctx, b, editor::BitBtn1);
    if (SavedWithoutBox(ctx, first, a, when + ", first copy")) names[2 * round - 1] = aName;
    if (SavedWithoutBox(ctx, second, b, when + ", second copy")) names[2 * round] = bName;
    ExpectFiles(ctx, ExpectedFiles(names, entries), when);
  }
}

// While another program holds the file, a press does not wait for it: the
// menu shows the titles of the last complete read.
E2E_CASE(TrayMenuWhileTheFileIsHeldShowsTheLastRead) {
  Program program;
  StartFirstRun(ctx, program);
  HWND editor = OpenEditorFromLeft(ctx, program);
  Rename(ctx, program, editor, "Read before the hold");
  CloseEditorWithOk(ctx, editor);
  e2e::ExpectEq(ctx, LeftMenuTitles(ctx, program)[0], "Read before the hold", "a complete read");
  std::vector<std::string> titles;
  e2e::Require(ctx, e2e::HoldUnshared(SettingsPath(), 2000,
                                      [&] { titles = LeftMenuTitles(ctx, program); }),
               "the settings file held without sharing");
  e2e::ExpectEq(ctx, titles[0], "Read before the hold", "the menu while the file is held");
}

// A hold that outlasts the wait fails the save with its message, leaves the
// file as it was and nothing beside it, however often the save tried.
E2E_CASE(EditorOkThroughALongHoldFailsAndLeavesNothing) {
  Program program;
  StartFirstRun(ctx, program);
  const std::string before = e2e::ReadFileText(SettingsPath()).value_or("");
  HWND editor = OpenEditorFromLeft(ctx, program);
  Rename(ctx, program, editor, "Not saved");
  e2e::Require(ctx, e2e::HoldUnshared(SettingsPath(), 5000, [&] {
    Click(ctx, editor, editor::BitBtn1);
    e2e::Expect(ctx, !SavedWithoutBox(ctx, program, editor, "a hold of 5 s"), "the save fails");
  }, FILE_SHARE_READ), "the settings file held, sharing reads only");
  ExpectBytes(ctx, before, "after the failed save");
  int left = 0;
  for (const char* pattern : {"\\*.new", "\\*.tmp"}) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((DataFolder() + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do ++left; while (FindNextFileA(search, &found));
    FindClose(search);
  }
  e2e::Expect(ctx, left == 0, std::to_string(left) + " files left beside the settings file");
}

// A copy killed between writing beside the file and its rename leaves that
// file behind; the next start removes it, and nothing that is not its own.
E2E_CASE(StartRemovesWhatKilledCopiesLeftBeside) {
  e2e::RemovePath(DataFolder());
  CreateDirectoryA(DataFolder().c_str(), nullptr);
  e2e::MadeFiles made;
  const std::string gone = SettingsPath() + ".4000000000-7.new";
  const std::string running = SettingsPath() + "." + std::to_string(GetCurrentProcessId()) + "-1.new";
  const std::string other = SettingsPath() + ".bak";
  for (const std::string& path : {gone, running, other})
    e2e::Require(ctx, made.Write(path, "[Files]\r\nDesc1=half\r\n"), "made " + path);
  Program program;
  StartReady(ctx, program);
  e2e::Require(ctx, e2e::WaitUntil([] { return ReadFiles().keyLines == 220; }, 10000),
               "the first-run settings file is written");
  e2e::Expect(ctx, !e2e::IsFile(gone), "the file of a copy that is gone is removed");
  e2e::Expect(ctx, e2e::IsFile(running), "the file of a running program stays");
  e2e::Expect(ctx, e2e::IsFile(other), "a file of another name stays");
}

// A UTF-8 file that another program gave one legacy line, a UTF-16BE file, and
// a legacy file that holds a UTF-8 line: each shows its names right, and an Ok
// keeps it in its encoding, or makes it UTF-8 as a whole without encoding its
// UTF-8 line twice.
E2E_CASE(EditorMixedAndUtf16FilesReadRightAndKeepTheirEncoding) {
  DWORD codePage = 0;
  GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                 reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(WCHAR));
  e2e::Require(ctx, codePage == 1252, "the legacy code page is 1252, got " + std::to_string(codePage));
  const std::string cafe = "caf\xC3\xA9", the = "th\xC3\xA9";
  const std::string privet = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";
  const std::string dom = "\xD0\x94\xD0\xBE\xD0\xBC";
  const std::string four = "Desc4=No Title Entered 4\r\n";
  const std::string named = "Desc4=" + dom + "\r\n";
  struct Case {
    const char* name;
    std::string before, one, after;
  };
  const Case cases[] = {
      {"UTF-8 with one legacy line", TitlesFile("caf\xE9", privet, the, cafe), privet,
       WithLine(TitlesFile("caf\xE9", privet, the, cafe), four, named)},
      {"UTF-16BE", Utf16BeWithBom(TitlesFile(cafe, privet, the, cafe)), privet,
       Utf16BeWithBom(WithLine(TitlesFile(cafe, privet, the, cafe), four, named))},
      {"legacy with a UTF-8 line", TitlesFile("caf\xE9", "caf\xE9", the, "na\xEFve"), cafe,
       WithLine(TitlesFile(cafe, cafe, the, "na\xC3\xAFve"), four, named)},
  };
  e2e::RemovePath(DataFolder());
  CreateDirectoryA(DataFolder().c_str(), nullptr);
  for (const Case& c : cases) {
    e2e::Require(ctx, e2e::WriteFileText(SettingsPath(), c.before), std::string(c.name) + " written");
    Program program;  // the edit window reads the file at the program's start
    StartReady(ctx, program);
    e2e::ExpectEq(ctx, LeftMenuTitles(ctx, program)[0], c.one,
                  std::string(c.name) + ": the menu shows title 1");
    HWND editor = OpenEditorFromLeft(ctx, program);
    HWND titles = GetDlgItem(editor, editor::Listtitles);
    const std::vector<std::string> listed = ListItems(titles);
    e2e::Require(ctx, listed.size() == 20, std::string(c.name) + ": the editor lists 20 titles");
    e2e::ExpectEq(ctx, listed[0] + " | " + listed[1], c.one + " | " + the,
                  std::string(c.name) + ": the editor lists titles 1 and 2");
    ChooseLine(editor, editor::Listtitles, 3);
    e2e::Require(ctx, e2e::WaitUntil([&] { return Selected(titles) == 3; }, 3000), "title 4 chosen");
    Rename(ctx, program, editor, dom);
    CloseEditorWithOk(ctx, editor);
    ExpectNoBox(ctx, program, c.name);
    ExpectBytes(ctx, c.after, std::string(c.name) + " after Ok");
  }
}
