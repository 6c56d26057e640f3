// Start-up, the Run value, the data folder, the tray icon, the right menu and
// the Disable command with each pair of answers.
#include <string>
#include <vector>

#include "e2e.h"
#include "vantrel_ui.h"

namespace {

using e2e::Box;
using e2e::Context;
using e2e::Program;
using namespace e2e::ui;

// Every case starts as a first run: no Run value, no data folder.
void FreshUser() {
  e2e::DeleteRegValue(e2e::kRunKey, kRunValue);
  e2e::RemovePath(DataFolder());
}

HWND OpenRightMenu(Context& ctx, Program& program) {
  program.PostTrayCallback(WM_RBUTTONDOWN);
  HWND menu = program.WaitForMenu(5000);
  e2e::Require(ctx, menu != nullptr, "the right press opens a menu");
  return menu;
}

enum class No { Button, Escape };

// Runs the Disable command from the right menu and gives the two answers.
void RunDisable(Context& ctx, Program& program, bool first, bool second, No how = No::Button) {
  HWND menu = OpenRightMenu(ctx, program);
  auto items = program.ReadMenu();
  e2e::Require(ctx, items.has_value() && !items->empty(), "the menu's items can be read");
  e2e::ExpectEq(ctx, WithoutMarks((*items)[kRightDisable].caption), "Disable Vantrel", "first item");
  program.ChooseMenuItem(menu, kRightDisable);
  e2e::Expect(ctx, e2e::WaitForWindowGone(menu, 5000), "the menu closes");

  HWND ask = ExpectBox(ctx, program, "Warning", kAskRemoveStartup, "warning", "first question");
  Box read = e2e::ReadBox(ask);
  e2e::Expect(ctx, read.buttons == std::vector<int>({IDYES, IDNO}), "first question: Yes and No");
  e2e::Expect(ctx, read.defaultButton == IDYES, "first question: Yes is the default");
  if (first) {
    Answer(ctx, ask, IDYES, "first question");
    HWND done = ExpectBox(ctx, program, "Information", kRemoved,
                          "information", "removal message");
    e2e::Expect(ctx, e2e::ReadBox(done).buttons == std::vector<int>({IDOK}), "removal message: OK");
    Answer(ctx, done, IDOK, "removal message");
  } else if (how == No::Escape) {
    e2e::PressKey(ask, VK_ESCAPE);
    e2e::Require(ctx, e2e::WaitForWindowGone(ask, 5000), "Escape closes the first question");
  } else {
    Answer(ctx, ask, IDNO, "first question");
  }

  HWND confirm = ExpectBox(ctx, program, "Warning", kAskRemoveIcon, "warning", "second question");
  Answer(ctx, confirm, second ? IDYES : IDNO, "second question");

  if (second) {
    e2e::Expect(ctx, program.WaitForExit(5000), "the program ends");
  } else {
    Sleep(300);
    e2e::Expect(ctx, program.Running() && IsWindow(program.MainWindow()), "the program runs on");
    e2e::Expect(ctx, program.TrayIconPresent(), "the icon stays");
  }
  auto value = e2e::ReadRegString(e2e::kRunKey, kRunValue);
  if (first)
    e2e::Expect(ctx, !value.has_value(), "the Run value is gone");
  else
    e2e::ExpectEq(ctx, value.value_or("<missing>"), ExpectedRunData(ctx), "the Run value stays");
}

}  // namespace

E2E_CASE(FirstStartHiddenWindowRunValueFolderAndIcon) {
  FreshUser();
  Program program;
  StartReady(ctx, program);
  HWND main = program.MainWindow();
  char name[64] = {};
  GetClassNameA(main, name, sizeof name);
  char caption[64] = {};
  GetWindowTextA(main, caption, sizeof caption);
  e2e::ExpectEq(ctx, name, "TForm1", "main window class");
  e2e::ExpectEq(ctx, caption, "Vantrel !", "main window caption");
  e2e::Expect(ctx, !IsWindowVisible(main), "the main window is never shown");

  e2e::ExpectEq(ctx, e2e::ReadRegString(e2e::kRunKey, kRunValue).value_or("<missing>"),
                ExpectedRunData(ctx), "Run value written at start");
  e2e::Expect(ctx, e2e::IsDirectory(DataFolder()), "data folder created: " + DataFolder());
  // The edit window's creation writes the first-run defaults.
  e2e::Expect(ctx, e2e::WaitUntil([] { return e2e::IsFile(SettingsPath()); }, 5000),
              "settings file written on the first run");
  e2e::Expect(ctx, program.WaitForWindow("#32770", 500) == nullptr, "no message box at start");
  e2e::Screenshot(ctx, "desktop-icon");
}

// The Run value follows a moved program, but another copy that exists keeps it.
E2E_CASE(StartKeepsARunValueOfAnExistingFileAndRewritesOneOfAMissingFile) {
  FreshUser();
  const std::string another = "\"C:\\windows\\notepad.exe\" /tray";
  const std::string moved = "C:\\Program Files\\Old Place\\vantrel.exe";
  for (const std::string& before : {another, moved}) {
    e2e::Require(ctx, e2e::WriteRegString(e2e::kRunKey, kRunValue, before), "Run value prepared");
    Program program;
    StartReady(ctx, program);
    e2e::ExpectEq(ctx, e2e::ReadRegString(e2e::kRunKey, kRunValue).value_or("<missing>"),
                  before == another ? another : ExpectedRunData(ctx),
                  before == another ? "a Run value naming an existing program is kept"
                                    : "a Run value naming a missing file names this program");
    program.Stop();
  }
}

E2E_CASE(FileInPlaceOfDataFolderWarnsThenFailsToWrite) {
  FreshUser();
  e2e::Require(ctx, e2e::WriteFileText(DataFolder(), "not a folder"), "plain file prepared");
  Program program;
  e2e::Require(ctx, program.Start(ctx), "vantrel.exe started");
  HWND warning = ExpectBox(ctx, program, "Warning", kFolderWarning, "warning", "folder warning");
  e2e::Screenshot(ctx, "folder-warning");
  Answer(ctx, warning, IDOK, "folder warning");
  HWND error = ExpectBox(ctx, program, "Vantrel", "Unable to write to " + SettingsPath() + ".",
                         "error", "write error");
  Answer(ctx, error, IDOK, "write error");
  e2e::Expect(ctx, e2e::WaitUntil([&] { return program.TrayIconPresent(); }, 5000),
              "start-up goes on: the icon is up");
  e2e::Expect(ctx, program.Running(), "the program runs on");
  program.Stop();
  e2e::RemovePath(DataFolder());
}

E2E_CASE(RightMenuItemsAndDismissal) {
  FreshUser();
  Program program;
  StartReady(ctx, program);
  HWND menu = OpenRightMenu(ctx, program);
  auto items = program.ReadMenu();
  e2e::Require(ctx, items.has_value(), "the menu's items can be read");
  const std::vector<std::string> expected = {
      "Disable Vantrel",      "Help Faq ",    "More Software Downloads", "", "Edit Your List",
      "Select a Screensaver", "Close a Title"};
  e2e::Require(ctx, items->size() == expected.size(),
               "seven items, got " + std::to_string(items->size()));
  e2e::Expect(
      ctx, items->back().submenu.size() == 20,
      "\"Close a Title\" opens the 20 titles, got " + std::to_string(items->back().submenu.size()));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const e2e::MenuItem& item = (*items)[i];
    e2e::ExpectEq(ctx, WithoutMarks(item.caption), expected[i], "item " + std::to_string(i));
    e2e::Expect(ctx, !item.separator && item.enabled,
                "item " + std::to_string(i) + " is an enabled text item");
  }
  e2e::Screenshot(ctx, "right-menu");
  e2e::PressKey(menu, VK_ESCAPE);
  e2e::Expect(ctx, e2e::WaitForWindowGone(menu, 5000), "Escape dismisses the menu");
  e2e::Expect(ctx, program.WaitForWindow("#32770", 500) == nullptr, "dismissal runs nothing");
  e2e::Expect(ctx, program.Running(), "the program runs on");
}

E2E_CASE(DisableYesYesRemovesValueAndEnds) {
  FreshUser();
  Program program;
  StartReady(ctx, program);
  RunDisable(ctx, program, true, true);
}

E2E_CASE(DisableNoNoKeepsValueAndRunsOn) {
  FreshUser();
  Program program;
  StartReady(ctx, program);
  RunDisable(ctx, program, false, false, No::Escape);
}

E2E_CASE(DisableYesNoRemovesValueAndRunsOn) {
  FreshUser();
  Program program;
  StartReady(ctx, program);
  RunDisable(ctx, program, true, false);
}

E2E_CASE(DisableNoYesKeepsValueAndEnds) {
  FreshUser();
  Program program;
  StartReady(ctx, program);
  RunDisable(ctx, program, false, true);
}

E2E_CASE(TrayAnswersWhileAQuestionIsOpen) {
  FreshUser();
  Program program;
  StartReady(ctx, program);
  HWND menu = OpenRightMenu(ctx, program);
  program.ChooseMenuItem(menu, kRightDisable);
  HWND ask = ExpectBox(ctx, program, "Warning", kAskRemoveStartup, "warning", "first question");
  HWND second = OpenRightMenu(ctx, program);
  e2e::PressKey(second, VK_ESCAPE);
  e2e::Expect(ctx, e2e::WaitForWindowGone(second, 5000), "the second menu closes");
  e2e::Expect(ctx, IsWindow(ask) && IsWindowVisible(ask), "the question is still open");
  Answer(ctx, ask, IDNO, "first question");
  HWND confirm = ExpectBox(ctx, program, "Warning", kAskRemoveIcon, "warning", "second question");
  Answer(ctx, confirm, IDNO, "second question");
  e2e::Expect(ctx, program.Running(), "the program runs on");
}

namespace {

// Child windows of a class, in window order.
std::vector<HWND> ChildrenOf(HWND parent, const char* className) {
  std::vector<HWND> found;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, className) == 0) found.push_back(child);
  }
  return found;
}

LRESULT Ask(HWND window, UINT message) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, 0, 0, SMTO_ABORTIFHUNG, 3000, &result);
  return static_cast<LRESULT>(result);
}

}  // namespace

E2E_CASE(EditorFromTheRightMenuIsModalOnce) {
  FreshUser();
  Program program;
  StartReady(ctx, program);
  program.ChooseMenuItem(OpenRightMenu(ctx, program), kRightEdit);
  HWND editor = program.WaitForWindow("TFrmedit", 5000);
  e2e::Require(ctx, editor != nullptr, "\"Edit Your List\" shows the edit window");
  char caption[128] = {};
  GetWindowTextA(editor, caption, sizeof caption);
  e2e::ExpectEq(ctx, caption, "Setup your applications to run from the system tray icon ",
                "edit window caption");
  RECT client{};
  GetClientRect(editor, &client);
  e2e::Expect(ctx, client.right == 554 && client.bottom == 420, "client area 554 x 420");
  std::vector<HWND> lists = ChildrenOf(editor, "ListBox");
  e2e::Require(ctx, lists.size() == 2, "two list boxes");
  e2e::Expect(ctx, Ask(lists[0], LB_GETCOUNT) == 20 || Ask(lists[1], LB_GETCOUNT) == 20,
              "one list holds the 20 titles");
  e2e::Screenshot(ctx, "edit-window");

  // The tray still answers; asking for the open editor again is refused.
  program.ChooseMenuItem(OpenRightMenu(ctx, program), kRightEdit);
  HWND refused = ExpectBox(ctx, program, "Vantrel", "Cannot make a visible window modal.", "error",
                           "second showing");
  Answer(ctx, refused, IDOK, "second showing");
  e2e::Expect(ctx, IsWindowVisible(editor) != FALSE, "the open editor stays");

  PostMessageA(editor, WM_CLOSE, 0, 0);
  e2e::Expect(ctx, e2e::WaitForWindowGone(editor, 5000), "the close box closes the editor");
  e2e::Expect(ctx, program.Running(), "the program runs on");
}

E2E_CASE(HelpWindowFromTheRightMenu) {
  FreshUser();
  Program program;
  StartReady(ctx, program);
  program.ChooseMenuItem(OpenRightMenu(ctx, program), kRightHelp);
  HWND help = program.WaitForWindow("TFrmhelp", 5000);
  e2e::Require(ctx, help != nullptr, "\"Help Faq \" shows the help window");
  std::vector<HWND> memos = ChildrenOf(help, "Edit");
  e2e::Require(ctx, memos.size() == 1, "one text box");
  char start[64] = {};
  SendMessageTimeoutA(memos[0], WM_GETTEXT, sizeof start, reinterpret_cast<LPARAM>(start),
                      SMTO_ABORTIFHUNG, 3000, nullptr);
  e2e::ExpectEq(ctx, std::string(start).substr(0, 14), "\r\nVantrel v3.1", "the text begins");
  e2e::Screenshot(ctx, "help-window");
  // Enter in the text box makes a new line; Tab then Enter presses OK.
  e2e::PressKey(help, VK_TAB);
  e2e::PressKey(help, VK_RETURN);
  e2e::Expect(ctx, e2e::WaitForWindowGone(help, 5000), "Tab, Enter closes the help window");
  e2e::Expect(ctx, program.Running(), "the program runs on");
}

E2E_CASE(DisableWhileTheEditorIsOpenEndsTheProgram) {
  FreshUser();
  Program program;
  StartReady(ctx, program);
  program.ChooseMenuItem(OpenRightMenu(ctx, program), kRightEdit);
  HWND editor = program.WaitForWindow("TFrmedit", 5000);
  e2e::Require(ctx, editor != nullptr, "the edit window is open");
  program.ChooseMenuItem(OpenRightMenu(ctx, program), kRightDisable);
  HWND ask = ExpectBox(ctx, program, "Warning", kAskRemoveStartup, "warning", "first question");
  Answer(ctx, ask, IDNO, "first question");
  HWND confirm = ExpectBox(ctx, program, "Warning", kAskRemoveIcon, "warning", "second question");
  Answer(ctx, confirm, IDYES, "second question");
  e2e::Expect(ctx, program.WaitForExit(5000), "the program ends, the editor with it");
}
