// Opening a title without the menu: the command line with its exit statuses
// and output, and the titles' shortcut keys set in the rename dialog.
#include <algorithm>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "e2e.h"
#include "vantrel_ui.h"

#include <commctrl.h>

#include "tray/command_line.h"
#include "vantrel_version.h"

namespace {

using e2e::Context;
using e2e::Program;
using namespace e2e::ui;

const char kScratch[] = "C:\\vshort";

// Starts of the tests' recording program (the stand-in screensaver, copied
// under program names), one line each.
class Starts {
 public:
  explicit Starts(const Context& ctx) : log_(std::string(kScratch) + "\\starts.log") {
    const std::string recorder =
        ctx.spyPath.substr(0, ctx.spyPath.find_last_of('\\') + 1) + "fake_scr.exe";
    for (const char* name : {"rec-a.exe", "rec-b.exe"})
      CopyFileA(recorder.c_str(), (std::string(kScratch) + "\\" + name).c_str(), FALSE);
    SetEnvironmentVariableA(kScrLogVariable, log_.c_str());
  }
  ~Starts() { SetEnvironmentVariableA(kScrLogVariable, nullptr); }
  Starts(const Starts&) = delete;
  Starts& operator=(const Starts&) = delete;
  // The programs started so far, by file name, in order.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const std::string& line : e2e::SplitLines(e2e::ReadFileText(log_).value_or(""))) {
      const std::size_t self = line.find('|') + 1, bar = line.find('|', self);
      const std::string path = line.substr(self, bar - self);
      names.push_back(path.substr(path.find_last_of('\\') + 1));
    }
    return names;
  }
  bool WaitFor(std::size_t count) const {
    return e2e::WaitUntil([&] { return Names().size() >= count; }, 10000);
  }

 private:
  std::string log_;
};

void Prepare(Context& ctx, const std::string& files) {
  e2e::DeleteRegValue(e2e::kRunKey, kRunValue);
  e2e::RemovePath(DataFolder());
  e2e::RemovePath(kScratch);
  CreateDirectoryA(kScratch, nullptr);
  CreateDirectoryA(DataFolder().c_str(), nullptr);
  e2e::Require(ctx, e2e::WriteFileText(SettingsPath(), "[Files]\r\n" + files),
               "settings file prepared");
}

// The ProductVersion text of a program's version resource.
std::string ProductVersion(const std::string& path) {
  std::string block(GetFileVersionInfoSizeA(path.c_str(), nullptr), '\0');
  char* text = nullptr;
  UINT size = 0;
  if (block.empty() ||
      !GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
      !VerQueryValueA(block.data(), "\\StringFileInfo\\040904E4\\ProductVersion",
                      reinterpret_cast<void**>(&text), &size))
    return "<none>";
  return std::string(text, size > 0 ? size - 1 : 0);
}

struct Ran {
  DWORD status = STILL_ACTIVE;
  std::string output;
};

// One run with arguments, its boxes answered with OK as `boxes` expects their
// texts; with `console` false it has neither an output nor a console.
Ran RunWith(Context& ctx, const std::string& arguments, const std::vector<std::string>& boxes,
            bool console = true) {
  const std::string outPath = std::string(kScratch) + "\\out.txt";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = console ? CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)
                       : nullptr;
  Program program;
  e2e::Require(ctx, program.Launch(ctx, arguments, out), "started with " + arguments);
  if (out != nullptr) CloseHandle(out);
  for (const std::string& text : boxes)
    ExpectOkBox(ctx, program, console ? "Information" : "Vantrel", text,
                console ? "information" : "none", arguments);
  Ran ran;
  e2e::Expect(ctx, program.WaitForExit(10000), arguments + ": the program ends");
  ran.status = program.ExitCode();
  e2e::Expect(ctx, !FindWindowA("TForm1", nullptr), arguments + ": no tray copy was started");
  program.Stop();
  if (console) ran.output = e2e::ReadFileText(outPath).value_or("<no output file>");
  return ran;
}

}  // namespace

E2E_CASE(CommandLineOpensTitlesWithExitStatusesAndTouchesNothing) {
  Prepare(ctx, std::string("Desc3=Work Things\r\nSet331=") + kScratch +
                   "\\rec-a.exe\r\nSet332=" + kScratch +
                   "\\rec-b.exe\r\nDesc4=\xD0\x9F\xD0\xBE\xD1\x87\xD1\x82\xD0\xB0\r\nSet441=" +
                   kScratch + "\\missing.exe\r\nSet442=" + kScratch + "\\rec-b.exe\r\n");
  const std::string before = e2e::ReadFileText(SettingsPath()).value_or("");
  Starts starts(ctx);

  Ran ran = RunWith(ctx, "--open 3", {});
  e2e::Expect(ctx, ran.status == 0, "--open 3: status 0, got " + std::to_string(ran.status));
  e2e::Expect(ctx, starts.WaitFor(2), "--open 3 starts both entries");
  ran = RunWith(ctx, "--open \"wORK things\"", {});
  e2e::Expect(ctx, ran.status == 0, "--open by name: status 0, got " + std::to_string(ran.status));
  e2e::Expect(ctx, starts.WaitFor(4), "--open by name starts both entries");
  // Both started each time; which one records first is theirs to decide.
  std::vector<std::string> names = starts.Names();
  for (std::string& name : names) CharUpperA(name.data());
  std::sort(names.begin(), names.end());
  e2e::Expect(
      ctx, names == std::vector<std::string>({"REC-A.EXE", "REC-A.EXE", "REC-B.EXE", "REC-B.EXE"}),
      "each run started both entries");

  // A missing entry is reported as from the menu, and the next one still opens.
  ran = RunWith(ctx, "--open \xD0\xBF\xD0\x9E\xD0\xA7\xD0\xA2\xD0\x90", {kCannotRun});
  e2e::Expect(ctx, ran.status == 1, "an entry failed: status 1, got " + std::to_string(ran.status));
  e2e::Expect(ctx, starts.WaitFor(5), "the entry after the failed one opens");
  ran = RunWith(ctx, "--open 20", {kNoPrograms});
  e2e::Expect(ctx, ran.status == 1, "no entries: status 1, got " + std::to_string(ran.status));

  ran = RunWith(ctx, "--open Nobody", {});
  e2e::Expect(ctx, ran.status == 2, "no such title: status 2, got " + std::to_string(ran.status));
  e2e::Expect(ctx, ran.output.find("No title is numbered or named \"Nobody\"") != std::string::npos,
              "no such title: said on the output, got: " + ran.output);
  ran = RunWith(ctx, "--list", {});
  e2e::Expect(ctx, ran.status == 0, "--list: status 0");
  e2e::Expect(ctx,
              ran.output.find(" 3  Work Things  (2 entries)\r\n 4  \xD0\x9F\xD0\xBE\xD1\x87"
                              "\xD1\x82\xD0\xB0  (2 entries)\r\n") != std::string::npos &&
                  ran.output.find("20  (0 entries)\r\n") != std::string::npos,
              "--list: the titles, numbered, with their counts; got: " + ran.output);
  ran = RunWith(ctx, "/?", {});
  e2e::ExpectEq(ctx, ran.output, vantrel::kUsageText, "/?: the usage");
  // --version tells what the program's version resource holds: "<version>+<commit>".
  const std::string stamp = ProductVersion(ctx.programPath);
  e2e::Expect(ctx,
              std::regex_match(stamp, std::regex(VANTREL_VERSION "\\+[0-9a-f]{12}(-modified)?")),
              "the version resource holds the version and the commit: " + stamp);
  ran = RunWith(ctx, "--version", {});
  e2e::Expect(ctx, ran.status == 0, "--version: status 0, got " + std::to_string(ran.status));
  e2e::ExpectEq(ctx, ran.output,
                "Vantrel " + stamp.substr(0, stamp.find('+')) + " (commit " +
                    stamp.substr(stamp.find('+') + 1) + ")\r\n",
                "--version: the version and the commit");
  // Started from a shortcut, with no console: one box with the usage.
  ran = RunWith(ctx, "--opne 3",
                {std::string("Unknown argument: --opne\r\n\r\n") + vantrel::kUsageText}, false);
  e2e::Expect(ctx, ran.status == 2,
              "a wrong argument: status 2, got " + std::to_string(ran.status));

  e2e::Expect(ctx, !e2e::ReadRegString(e2e::kRunKey, kRunValue).has_value(),
              "the Run value was not written");
  e2e::ExpectEq(ctx, e2e::ReadFileText(SettingsPath()).value_or(""), before,
                "the settings file is as it was");
  e2e::Expect(ctx, starts.Names().size() == 5, "nothing else started");
}

namespace {

// Whether another program could take the key now: the system refuses a key
// that anyone holds.
bool KeyIsFree(UINT modifiers, UINT key) {
  if (!RegisterHotKey(nullptr, 0x7000, modifiers, key)) return false;
  UnregisterHotKey(nullptr, 0x7000);
  return true;
}

HWND OpenEditor(Context& ctx, Program& program) {
  HWND menu = OpenMenu(ctx, program, WM_LBUTTONDOWN, "the left menu");
  program.ChooseMenuItem(menu, kLeftEdit);
  return WaitWindow(ctx, program, kEditorClass, "the edit window");
}

// "Change Title Names" on the title of list line `line`, `inDialog` done with
// the dialog and its key box, and both windows' Ok.
void ChangeTitle(Context& ctx, Program& program, int line,
                 const std::function<void(HWND dialog, HWND box)>& inDialog) {
  HWND editor = OpenEditor(ctx, program);
  HWND titles = e2e::Control(ctx, editor, editor::Listtitles);
  e2e::Send(titles, LB_SETCURSEL, static_cast<WPARAM>(line));
  PostMessageA(editor, WM_COMMAND, MAKEWPARAM(editor::Listtitles, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(titles));
  e2e::Require(ctx, e2e::WaitUntil([&] { return e2e::Selected(titles) == line; }, 3000),
               "title " + std::to_string(line + 1) + " selected");
  e2e::Click(ctx, editor, editor::Button1);
  HWND dialog = WaitWindow(ctx, program, "TFrmtitlechg", "the rename dialog");
  inDialog(dialog, e2e::Control(ctx, dialog, titlechg::HotKey1));
  e2e::Click(ctx, dialog, titlechg::Button1);
  e2e::Require(ctx, e2e::WaitForWindowGone(dialog, 5000), "Ok closes the rename dialog");
  e2e::Click(ctx, editor, editor::BitBtn1);
  e2e::Require(ctx, e2e::WaitForWindowGone(editor, 5000), "Ok saves and closes the editor");
}

// The key pressed into title 1's box (a HOTKEYF_ word; 0 removes it).
void SetKey(Context& ctx, Program& program, WORD key, const std::string& shot = "") {
  ChangeTitle(ctx, program, 0, [&](HWND dialog, HWND box) {
    e2e::Send(box, HKM_SETHOTKEY, key);
    if (!shot.empty()) e2e::Screenshot(ctx, shot, dialog);
  });
}

}  // namespace

E2E_CASE(ShortcutKeySetInTheRenameDialogIsSavedTakenAndFreed) {
  Prepare(ctx, std::string("Desc1=Work\r\nSet111=") + kScratch + "\\rec-a.exe\r\n");
  Starts starts(ctx);
  Program program;
  StartReady(ctx, program);
  e2e::Require(ctx, KeyIsFree(MOD_CONTROL | MOD_ALT, '7'), "Ctrl+Alt+7 is free at first");

  SetKey(ctx, program, MAKEWORD('7', HOTKEYF_CONTROL | HOTKEYF_ALT), "dialog-rename-key");
  const std::string saved = e2e::ReadFileText(SettingsPath()).value_or("");
  e2e::Expect(ctx, saved.find("Hotkey1=Ctrl+Alt+7\r\n") != std::string::npos,
              "the key is saved under its own name; the file: " + saved);
  e2e::Expect(ctx, !KeyIsFree(MOD_CONTROL | MOD_ALT, '7'), "the running program holds the key");
  PostMessageA(program.MainWindow(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, '7'));
  e2e::Expect(ctx, starts.WaitFor(1), "the key's message opens the title");

  SetKey(ctx, program, 0);
  e2e::Expect(
      ctx, e2e::ReadFileText(SettingsPath()).value_or("").find("Hotkey1=\r\n") != std::string::npos,
      "the key is removed from the file");
  e2e::Expect(ctx, KeyIsFree(MOD_CONTROL | MOD_ALT, '7'), "a removed key is free again");
  e2e::ExpectNoBox(ctx, program, "after the saves");
}

E2E_CASE(ShortcutKeyAnotherProgramHoldsIsToldOnceAndTheProgramRuns) {
  Prepare(ctx, "Desc2=Music\r\nHotkey2=Ctrl+Alt+9\r\nHotkey5=Ctrl+Alt+8\r\n");
  e2e::Require(ctx, RegisterHotKey(nullptr, 0x7001, MOD_CONTROL | MOD_ALT, '9') != FALSE,
               "the driver holds Ctrl+Alt+9");
  Program program;
  e2e::Require(ctx, program.Start(ctx), "vantrel.exe started");
  ExpectOkBox(ctx, program, "Information",
              "The shortcut key Ctrl+Alt+9 of title 2, \"Music\" is already taken by another "
              "program, so it does not open this title. You can choose another key with \"Change "
              "Title Names\" in \"Edit Your List\".",
              "information", "the taken key");
  e2e::Expect(ctx, e2e::WaitUntil([&] { return program.TrayIconPresent(); }, 10000),
              "the icon is up all the same");
  e2e::Expect(ctx, !KeyIsFree(MOD_CONTROL | MOD_ALT, '8'), "title 5's key is held");
  e2e::ExpectNoBox(ctx, program, "after the one report");
  UnregisterHotKey(nullptr, 0x7001);
}

E2E_CASE(ShortcutKeyLinesKeptAsWrittenSpaceLeftFreeAndWinShownAndSaved) {
  Prepare(ctx, "Desc1=Work\r\nHotkey1=Space\r\nDesc2=Mail\r\nHotkey2=Win+F5\r\n");
  const std::string before = e2e::ReadFileText(SettingsPath()).value_or("");
  Program program;
  e2e::Require(ctx, program.Start(ctx), "vantrel.exe started");
  ExpectOkBox(
      ctx, program, "Information",
      "The shortcut key \"Space\" of title 1, \"Work\" has neither Ctrl, Alt nor Win, so it "
      "does not open this title. You can choose another key with \"Change Title Names\" "
      "in \"Edit Your List\".",
      "information", "the key without Ctrl, Alt or Win");
  e2e::Expect(ctx, e2e::WaitUntil([&] { return program.TrayIconPresent(); }, 10000),
              "the icon is up");
  e2e::Expect(ctx, KeyIsFree(0, VK_SPACE), "Space is left to every other program");
  e2e::Expect(ctx, !KeyIsFree(MOD_WIN, VK_F5), "title 2 holds Win+F5");

  // Ok with both keys as shown: the file stays as it was, and nothing is told again.
  int withWin = 0;
  ChangeTitle(ctx, program, 0, [](HWND, HWND) {});
  ChangeTitle(ctx, program, 1, [&](HWND dialog, HWND box) {
    withWin = e2e::TextPixels(box);
    e2e::Screenshot(ctx, "dialog-rename-win", dialog);
  });
  // The Ok adds the values the file lacks after them.
  e2e::ExpectEq(ctx, e2e::ReadFileText(SettingsPath()).value_or("").substr(0, before.size()),
                before, "the lines the file had, after both Oks");
  e2e::ExpectNoBox(ctx, program, "after the saves");
  e2e::Expect(ctx, KeyIsFree(0, VK_SPACE), "Space is still free after the saves");
  e2e::Expect(ctx, !KeyIsFree(MOD_WIN, VK_F5), "title 2 still holds Win+F5");

  // The bare key shows shorter than with Win; pressed alone it is saved with Ctrl+Alt.
  int bare = 0;
  ChangeTitle(ctx, program, 1, [&](HWND, HWND box) {
    e2e::Send(box, HKM_SETHOTKEY, VK_F5);
    bare = e2e::TextPixels(box);
  });
  e2e::Expect(ctx, withWin > bare + 20,
              "the box shows Win: " + std::to_string(withWin) + " pixels of text, the bare key " +
                  std::to_string(bare));
  const std::string saved = e2e::ReadFileText(SettingsPath()).value_or("");
  e2e::Expect(ctx, saved.find("Hotkey2=Ctrl+Alt+F5\r\n") != std::string::npos,
              "a key pressed alone is saved with Ctrl+Alt; the file: " + saved);
  e2e::Expect(ctx, !KeyIsFree(MOD_CONTROL | MOD_ALT, VK_F5) && KeyIsFree(MOD_WIN, VK_F5),
              "title 2 holds Ctrl+Alt+F5 instead");
  e2e::ExpectNoBox(ctx, program, "at the end");
}
