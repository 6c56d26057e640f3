// Entry options end to end: the options dialog set from the keyboard and by a
// double click and saved by the edit window's Ok; a small program started with
// its arguments in its start folder, brought to the front instead of started
// again, and started through the administrator verb.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e.h"
#include "vantrel_ui.h"
#include "workspace/place_capture.h"

namespace {

using e2e::Context;
using e2e::Program;
using namespace e2e::ui;

const char kProbeClass[] = "VantrelProbe";
const char kProbeLogVariable[] = "VANTREL_PROBE_LOG";
const char kEntryOptionsClass[] = "TFrmentryopt";

std::string ProbePath(const Context& ctx) {
  return ctx.spyPath.substr(0, ctx.spyPath.find_last_of('\\') + 1) + "entry_probe.exe";
}

// The probe's log for the case, empty at its start and of its own name, so that
// a probe a failed case left starting cannot write into the next case's; the
// variable reaches the probe through the program, started after it is set.
class ProbeLog {
 public:
  explicit ProbeLog(const std::string& name) : path_(e2e::TempDir(true) + "\\" + name + ".log") {
    e2e::RemovePath(path_);
    SetEnvironmentVariableA(kProbeLogVariable, path_.c_str());
  }
  ~ProbeLog() {
    CloseProbes();
    SetEnvironmentVariableA(kProbeLogVariable, nullptr);
    e2e::RemovePath(path_);
  }
  ProbeLog(const ProbeLog&) = delete;
  ProbeLog& operator=(const ProbeLog&) = delete;

  std::vector<std::string> Lines() const {
    return e2e::SplitLines(e2e::ReadFileText(path_).value_or(""));
  }
  bool WaitForLines(std::size_t count) const {
    return e2e::WaitUntil([&] { return Lines().size() >= count; }, 10000);
  }
  static std::vector<HWND> Windows() {
    std::vector<HWND> found;
    for (HWND w = FindWindowExA(nullptr, nullptr, kProbeClass, nullptr); w != nullptr;
         w = FindWindowExA(nullptr, w, kProbeClass, nullptr))
      found.push_back(w);
    return found;
  }
  static void CloseProbes() {
    for (HWND w : Windows()) PostMessageA(w, WM_CLOSE, 0, 0);
    e2e::WaitUntil([] { return Windows().empty(); }, 5000);
  }

 private:
  std::string path_;
};

void PrepareSettings(Context& ctx, const std::string& text) {
  e2e::RemovePath(DataFolder());
  CreateDirectoryA(DataFolder().c_str(), nullptr);
  e2e::Require(ctx, e2e::WriteFileText(SettingsPath(), text), "settings file prepared");
}

std::string FilesValue(const std::string& key) {
  auto section = e2e::ReadIniSection(SettingsPath(), "Files");
  if (!section) return "<unreadable>";
  for (const auto& [name, value] : section->values)
    if (e2e::SameText(name, key)) return value;
  return "<missing>";
}

void OpenTitle(Context& ctx, Program& program, int title, const std::string& when) {
  HWND menu = e2e::OpenMenu(ctx, program, WM_LBUTTONDOWN, when);
  e2e::Choose(ctx, program, menu, TitleItem(title), when);
}

HWND FocusOf(HWND window) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
  return gui.hwndFocus;
}

// Typed character by character into the focused control, as the keyboard would.
void TypeIntoFocus(HWND window, const std::string& text) {
  HWND focus = FocusOf(window);
  for (char c : text) PostMessageA(focus, WM_CHAR, static_cast<unsigned char>(c), 1);
}

bool FocusIs(HWND window, HWND control) {
  return e2e::WaitUntil([&] { return FocusOf(window) == control; }, 3000);
}

// Alt+Enter, the "properties" key, on the focused control.
void PressAltEnter(HWND window) {
  HWND focus = FocusOf(window);
  PostMessageA(focus, WM_SYSKEYDOWN, VK_RETURN, 0x20000001);
  PostMessageA(focus, WM_SYSKEYUP, VK_RETURN, 0xE0000001);
}

// A double click on a line of a list, as the mouse sends it.
void DoubleClickLine(HWND list, int line) {
  const int height = static_cast<int>(e2e::Send(list, LB_GETITEMHEIGHT, 0));
  const LPARAM at = MAKELPARAM(20, height * line + height / 2);
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(list, WM_LBUTTONUP, 0, at);
  PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageA(list, WM_LBUTTONUP, 0, at);
}

bool Checked(HWND box) { return e2e::Send(box, BM_GETCHECK) == BST_CHECKED; }

}  // namespace

E2E_CASE(OptionsDialogFromTheKeyboardAndADoubleClickSavedByOk) {
  const std::string probe = ProbePath(ctx);
  const std::string address = "https://example.org/front";
  PrepareSettings(ctx,
                  "[Files]\r\nDesc1=Probe\r\nSet111=" + probe + "\r\nSet112=" + address + "\r\n");
  Program program;
  StartReady(ctx, program);
  HWND menu = e2e::OpenMenu(ctx, program, WM_LBUTTONDOWN, "the left menu");
  e2e::Choose(ctx, program, menu, kLeftEdit, "Edit Your List");
  HWND editor = e2e::WaitWindow(ctx, program, kEditorClass, "the edit window");
  HWND apps = e2e::Control(ctx, editor, editor::Listapps);

  // Keyboard: Tab from Ok to the entry list, Alt+Enter on its first line.
  e2e::Require(ctx, FocusIs(editor, e2e::Control(ctx, editor, editor::BitBtn1)),
               "the edit window starts on Ok");
  e2e::PressKey(editor, VK_TAB);
  e2e::Require(ctx, FocusIs(editor, apps), "Tab reaches the entry list");
  PressAltEnter(editor);
  HWND dialog = e2e::WaitWindow(ctx, program, kEntryOptionsClass, "Alt+Enter on the first entry");
  e2e::ExpectEq(ctx, e2e::Text(dialog), "Entry Options", "the dialog's caption");
  HWND args = e2e::Control(ctx, dialog, entryopt::EditArgs);
  HWND folder = e2e::Control(ctx, dialog, entryopt::EditFolder);
  HWND admin = e2e::Control(ctx, dialog, entryopt::CheckAdmin);
  e2e::Require(ctx, FocusIs(dialog, args), "the arguments box has the focus");
  TypeIntoFocus(dialog, "--alpha \"two words\"");
  e2e::PressKey(dialog, VK_TAB);
  e2e::Require(ctx, FocusIs(dialog, folder), "Tab reaches the start folder box");
  TypeIntoFocus(dialog, "C:\\windows");
  e2e::PressKey(dialog, VK_TAB);
  e2e::Require(ctx, FocusIs(dialog, admin), "Tab reaches \"Run as administrator\"");
  e2e::PressKey(dialog, VK_SPACE);
  e2e::Expect(ctx, e2e::WaitUntil([&] { return Checked(admin); }, 3000), "Space checks it");
  e2e::Expect(ctx, e2e::WaitUntil([&] { return e2e::Text(folder) == "C:\\windows"; }, 3000),
              "the typed folder shows");
  e2e::Screenshot(ctx, "dialog-entryoptions", dialog);
  e2e::PressKey(dialog, VK_RETURN);
  e2e::Require(ctx, e2e::WaitForWindowGone(dialog, 5000), "Enter is Ok");

  // Mouse: a double click on the second line; Escape leaves nothing behind.
  DoubleClickLine(apps, 1);
  dialog = e2e::WaitWindow(ctx, program, kEntryOptionsClass, "a double click on the second entry");
  e2e::ExpectEq(ctx, e2e::Text(e2e::Control(ctx, dialog, entryopt::EditArgs)), "",
                "the second entry has no arguments");
  e2e::Click(ctx, dialog, entryopt::CheckAdmin);
  e2e::PressKey(dialog, VK_ESCAPE);
  e2e::Require(ctx, e2e::WaitForWindowGone(dialog, 5000), "Escape is Cancel");
  DoubleClickLine(apps, 1);
  dialog = e2e::WaitWindow(ctx, program, kEntryOptionsClass, "a second double click");
  HWND front = e2e::Control(ctx, dialog, entryopt::CheckFront);
  e2e::Expect(ctx, !Checked(e2e::Control(ctx, dialog, entryopt::CheckAdmin)),
              "the cancelled check did not stay");
  e2e::Click(ctx, dialog, entryopt::CheckFront);
  e2e::Expect(ctx, e2e::WaitUntil([&] { return Checked(front); }, 3000), "the click checks it");
  e2e::Click(ctx, dialog, entryopt::BitBtnOk);
  e2e::Require(ctx, e2e::WaitForWindowGone(dialog, 5000), "Ok closes the dialog");

  e2e::ExpectEq(ctx, FilesValue("Set111Args"), "<missing>",
                "nothing saved before the edit window's Ok");
  e2e::Click(ctx, editor, editor::BitBtn1);
  e2e::Require(ctx, e2e::WaitForWindowGone(editor, 5000), "Ok closes the edit window");
  e2e::ExpectEq(ctx, FilesValue("Set111Args"), "--alpha \"two words\"", "the arguments saved");
  e2e::ExpectEq(ctx, FilesValue("Set111Folder"), "C:\\windows", "the start folder saved");
  e2e::ExpectEq(ctx, FilesValue("Set111Admin"), "1", "the administrator option saved");
  e2e::ExpectEq(ctx, FilesValue("Set111Entry"), probe, "the entry they belong to");
  e2e::ExpectEq(ctx, FilesValue("Set111Front"), "<missing>", "no key for an option not set");
  e2e::ExpectEq(ctx, FilesValue("Set112Front"), "1", "bring to front saved on entry 2");
  e2e::ExpectEq(ctx, FilesValue("Set112Admin"), "<missing>", "the cancelled check was not saved");
  e2e::ExpectEq(ctx, FilesValue("Set112"), address, "the entries stay");
}

E2E_CASE(OptionsLaunchWithArgumentsInAFolderThenBringItToTheFront) {
  ProbeLog log("probe-launch");
  const std::string probe = ProbePath(ctx);
  const std::string start = e2e::TempDir(true) + "\\probe start";
  CreateDirectoryA(start.c_str(), nullptr);
  const std::string entry = "[Files]\r\nDesc1=Probe\r\nSet111=" + probe +
                            "\r\nSet111Args=--alpha \"two words\"\r\nSet111Folder=" + start +
                            "\r\nSet111Entry=" + probe + "\r\n";
  PrepareSettings(ctx, entry);
  Program program;
  StartReady(ctx, program);

  OpenTitle(ctx, program, 1, "the first launch");
  e2e::Require(ctx, log.WaitForLines(1), "the probe records its start");
  const std::string line = log.Lines()[0];
  const std::string wanted = " --alpha \"two words\"|" + start;
  e2e::Expect(ctx,
              line.size() > wanted.size() &&
                  e2e::SameText(line.substr(line.size() - wanted.size()), wanted),
              "the probe got its arguments and its start folder: " + line);
  e2e::Require(ctx, e2e::WaitUntil([] { return ProbeLog::Windows().size() == 1; }, 10000),
               "the probe's window is up");
  HWND window = ProbeLog::Windows()[0];

  // Brought to the front, not started again.
  e2e::Require(ctx, e2e::WriteFileText(SettingsPath(), entry + "Set111Front=1\r\n"),
               "bring to the front set");
  ShowWindow(window, SW_MINIMIZE);
  e2e::Require(ctx, e2e::WaitUntil([&] { return IsIconic(window) != FALSE; }, 3000),
               "the probe is minimised");
  OpenTitle(ctx, program, 1, "the second launch");
  e2e::Expect(
      ctx,
      e2e::WaitUntil([&] { return !IsIconic(window) && GetForegroundWindow() == window; }, 5000),
      "the running probe is restored and in front");
  Sleep(1500);
  e2e::Expect(ctx, log.Lines().size() == 1,
              "no second probe started: " + std::to_string(log.Lines().size()) + " starts");
  e2e::Expect(ctx, ProbeLog::Windows().size() == 1, "one probe window");
  e2e::ExpectNoBox(ctx, program, "after bringing it to the front");

  // Not running: started.
  ProbeLog::CloseProbes();
  OpenTitle(ctx, program, 1, "the third launch");
  e2e::Expect(ctx, log.WaitForLines(2), "with none running, the probe starts");
  e2e::RemovePath(start);
}

// Where the spy in the program records its starts through the shell: one line
// "<verb>|<file>|<parameters>|<folder>" each.
class ShellLog {
 public:
  ShellLog() : path_(e2e::TempDir(true) + "\\shell-starts.log") {
    e2e::RemovePath(path_);
    SetEnvironmentVariableA(kVariable, path_.c_str());
  }
  ~ShellLog() {
    SetEnvironmentVariableA(kVariable, nullptr);
    e2e::RemovePath(path_);
  }
  ShellLog(const ShellLog&) = delete;
  ShellLog& operator=(const ShellLog&) = delete;
  std::string Text() const { return e2e::ReadFileText(path_).value_or(""); }

 private:
  static constexpr const char* kVariable = "VANTREL_SPY_SHELL_LOG";
  std::string path_;
};

// Wine asks no question for the administrator verb and runs a program the same
// for every verb: the spy in the program records the verb the shell was given,
// and answers a refusal as the system does when the user declines the prompt.
E2E_CASE(OptionsAdministratorVerbAndARefusedPrompt) {
  ProbeLog log("probe-admin");
  ShellLog shell;
  const std::string probe = ProbePath(ctx);
  PrepareSettings(ctx, "[Files]\r\nDesc1=Probe\r\nSet111=" + probe +
                           "\r\nSet111Args=--elevated\r\nSet111Admin=1\r\nDesc2=Refused\r\n"
                           "Set221=" +
                           probe +
                           "\r\nSet221Args=--refused\r\nSet221Admin=1\r\n"
                           "Set222=" +
                           probe + "\r\nSet222Args=--after\r\n");
  Program program;
  StartReady(ctx, program);
  e2e::Require(ctx, program.RecordShellStarts(false), "the spy records the shell's starts");
  OpenTitle(ctx, program, 1, "the launch as administrator");
  e2e::Expect(ctx, log.WaitForLines(1), "the probe starts through the administrator verb");
  e2e::Expect(ctx,
              shell.Text().rfind("runas|", 0) == 0 &&
                  shell.Text().find("|--elevated|") != std::string::npos,
              "the shell was given the verb \"runas\": " + shell.Text());
  e2e::ExpectNoBox(ctx, program, "after the start");
  ProbeLog::CloseProbes();

  e2e::Require(ctx, program.RecordShellStarts(true), "the spy refuses elevations");
  OpenTitle(ctx, program, 2, "the refused launch");
  ExpectOkBox(
      ctx, program, "Information",
      "\"" + probe + "\" was not started: the request to run it as administrator was refused.",
      "information", "the refused prompt");
  e2e::Expect(ctx, log.WaitForLines(2), "the next entry still starts");
  const std::vector<std::string> lines = log.Lines();
  e2e::Expect(ctx,
              lines.size() == 2 && lines[1].find(" --after|") != std::string::npos &&
                  lines[1].find("--refused") == std::string::npos,
              "only the next entry started: " + std::to_string(lines.size()) + " starts");
}

namespace {

// A run with arguments and its output sent to NUL, as "vantrel.exe ... >nul"
// from a script: its exit status once it has ended, told a box it showed.
DWORD RunToNul(Context& ctx, const std::string& arguments, DWORD limitMs = 10000) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                           OPEN_EXISTING, 0, nullptr);
  e2e::Require(ctx, nul != INVALID_HANDLE_VALUE, "NUL opened");
  Program program;
  e2e::Require(ctx, program.Launch(ctx, arguments, nul), "started with " + arguments + " >nul");
  CloseHandle(nul);
  const bool ended = program.WaitForExit(limitMs);
  HWND box = ended ? nullptr : program.WaitForWindow("#32770", 500);
  e2e::Expect(
      ctx, box == nullptr,
      arguments + " >nul: no box" + (box ? ", but one says: " + e2e::ReadBox(box).text : ""));
  e2e::Expect(ctx, ended, arguments + " >nul: the program ends");
  const DWORD status = program.ExitCode();
  program.Stop();
  return status;
}

}  // namespace

// Nothing taken for what it is not: an entry with a blank at its end and a
// quoted one keep their options through the edit window's Ok, a restart and
// the launcher; "--open" with its output sent to NUL shows no box and ends
// with its status; a name matches whatever the case of its accented capital.
E2E_CASE(NothingTakenForWhatItIsNotEntryTextOutputToNulAndNames) {
  ProbeLog log("probe-odd");
  const std::string probe = ProbePath(ctx);
  const std::string documents = "\xCE\x88\xCE\xB3\xCE\xB3\xCF\x81\xCE\xB1\xCF\x86\xCE\xB1";
  PrepareSettings(ctx, "[Files]\r\nDesc1=" + documents + "\r\n");
  {
    Program program;
    StartReady(ctx, program);
    HWND menu = e2e::OpenMenu(ctx, program, WM_LBUTTONDOWN, "the left menu");
    e2e::Choose(ctx, program, menu, kLeftEdit, "Edit Your List");
    HWND editor = e2e::WaitWindow(ctx, program, kEditorClass, "the edit window");
    const std::vector<std::string> entries = {probe + " ", "\"" + probe + "\""};
    for (std::size_t i = 0; i < entries.size(); ++i) {
      AddWeb(ctx, program, editor, entries[i]);
      DoubleClickLine(e2e::Control(ctx, editor, editor::Listapps), static_cast<int>(i));
      HWND dialog = e2e::WaitWindow(ctx, program, kEntryOptionsClass, "the entry's options");
      e2e::SetText(e2e::Control(ctx, dialog, entryopt::EditArgs), "--odd" + std::to_string(i));
      e2e::Click(ctx, dialog, entryopt::BitBtnOk);
      e2e::Require(ctx, e2e::WaitForWindowGone(dialog, 5000), "Ok closes the options");
    }
    e2e::Click(ctx, editor, editor::BitBtn1);
    e2e::Require(ctx, e2e::WaitForWindowGone(editor, 5000), "Ok saves and closes the edit window");
    program.Stop();
  }
  // Both entries started, each with its own arguments, in either order.
  const auto started = [&](std::size_t count) {
    if (!log.WaitForLines(count)) return false;
    const std::vector<std::string> lines = log.Lines();
    const auto has = [&](const char* arguments) {
      return lines[count - 2].find(arguments) != std::string::npos ||
             lines[count - 1].find(arguments) != std::string::npos;
    };
    return has(" --odd0|") && has(" --odd1|");
  };
  Program again;
  StartReady(ctx, again);
  OpenTitle(ctx, again, 1, "the launch after a restart");
  e2e::Expect(ctx, started(2), "both entries start with their arguments after a restart");
  e2e::ExpectNoBox(ctx, again, "after the launch");
  // An Ok that changes nothing writes nothing, so a read-only file gives no message.
  const std::string settings = SettingsPath();
  const auto before = e2e::ReadFileText(settings);
  e2e::Require(ctx, SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_READONLY) != FALSE,
               "the settings file made read-only");
  HWND menu = e2e::OpenMenu(ctx, again, WM_LBUTTONDOWN, "the left menu");
  e2e::Choose(ctx, again, menu, kLeftEdit, "Edit Your List");
  HWND editor = e2e::WaitWindow(ctx, again, kEditorClass, "the edit window");
  e2e::Click(ctx, editor, editor::BitBtn1);
  e2e::Expect(ctx, e2e::WaitForWindowGone(editor, 5000), "Ok closes the edit window");
  e2e::ExpectNoBox(ctx, again, "Ok with nothing changed on a read-only file");
  e2e::Expect(ctx, e2e::ReadFileText(settings) == before, "the read-only file is unchanged");
  SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_NORMAL);
  again.Stop();

  const std::string lower = "\xCE\xAD\xCE\xB3\xCE\xB3\xCF\x81\xCE\xB1\xCF\x86\xCE\xB1";
  const DWORD opened = RunToNul(ctx, "--open " + lower);
  e2e::Expect(ctx, opened == 0,
              "--open by its lower-case name: status 0, got " + std::to_string(opened));
  e2e::Expect(ctx, started(4), "--open starts both entries with their arguments");
  const DWORD nobody = RunToNul(ctx, "--open Nobody");
  e2e::Expect(ctx, nobody == 2, "--open Nobody >nul: status 2, got " + std::to_string(nobody));
}

// --- A title as a workspace ----------------------------------------------------

namespace {

struct Screen {
  std::string device;
  RECT area{};
  RECT work{};
  int dpi = 96;
};

// The first monitor, as the settings file names one in a place.
Screen FirstMonitor() {
  Screen screen;
  HMONITOR monitor = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFOEXA info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(monitor, &info);
  screen.device = info.szDevice;
  screen.area = info.rcMonitor;
  screen.work = info.rcWork;
  HDC dc = GetDC(nullptr);
  screen.dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(nullptr, dc);
  return screen;
}

// A place as the program writes it:
// "normal,<left>,<top>,<width>,<height>,<dpi>,<monitor>,<device>".
std::string PlaceText(const char* state, const RECT& r, const Screen& screen) {
  const RECT& m = screen.area;
  return std::string(state) + "," + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
         std::to_string(r.right - r.left) + "," + std::to_string(r.bottom - r.top) + "," +
         std::to_string(screen.dpi) + "," + std::to_string(m.left) + "," + std::to_string(m.top) +
         "," + std::to_string(m.right - m.left) + "," + std::to_string(m.bottom - m.top) + "," +
         screen.device;
}

// What the user sees of a window: without the invisible borders where the system tells them.
RECT VisibleBounds(HWND window) {
  RECT r{};
  using Attribute = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
  HMODULE dwm = LoadLibraryA("dwmapi.dll");
  auto get = dwm ? reinterpret_cast<Attribute>(
                       reinterpret_cast<void*>(GetProcAddress(dwm, "DwmGetWindowAttribute")))
                 : nullptr;
  if (get == nullptr || get(window, 9 /* DWMWA_EXTENDED_FRAME_BOUNDS */, &r, sizeof r) != S_OK)
    GetWindowRect(window, &r);
  return r;
}

bool Near(const RECT& a, const RECT& b) {
  return std::abs(a.left - b.left) <= 2 && std::abs(a.top - b.top) <= 2 &&
         std::abs(a.right - b.right) <= 2 && std::abs(a.bottom - b.bottom) <= 2;
}

std::string Show(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

// Copies of the probe under names of their own: a workspace tells programs by their files.
std::string ProbeCopy(Context& ctx, const std::string& name) {
  const std::string copy = e2e::TempDir(true) + "\\" + name + ".exe";
  e2e::Require(ctx, CopyFileA(ProbePath(ctx).c_str(), copy.c_str(), FALSE) != FALSE,
               name + " copied");
  return copy;
}

std::string EntryKeys(int title, int slot, const std::string& program,
                      const std::vector<std::pair<std::string, std::string>>& options) {
  const std::string key =
      "Set" + std::to_string(title) + std::to_string(title) + std::to_string(slot);
  std::string text = key + "=" + program + "\r\n";
  for (const auto& [word, value] : options) text += key + word + "=" + value + "\r\n";
  return text;
}

HWND ProbeWindow(const std::string& title) { return FindWindowA(kProbeClass, title.c_str()); }

}  // namespace

// Windows put where they were left: a normal one within 2 px, a maximised one
// maximised, one whose place is off the screen inside the work area, and one
// that shows 3 s after its start all the same.
E2E_CASE(WorkspaceOpensEachWindowInItsPlaceEvenLateOrOffScreen) {
  ProbeLog log("probe-places");
  const Screen screen = FirstMonitor();
  const RECT& m = screen.area;
  const RECT normal{m.left + 200, m.top + 150, m.left + 700, m.top + 500};
  const RECT zoomed{m.left + 100, m.top + 100, m.left + 700, m.top + 500};
  const RECT away{m.right + 3000, m.bottom + 3000, m.right + 3400, m.bottom + 3300};
  const RECT late{m.left + 300, m.top + 250, m.left + 750, m.top + 570};
  PrepareSettings(
      ctx,
      "[Files]\r\n" +
          EntryKeys(1, 1, ProbeCopy(ctx, "place_a"),
                    {{"Args", "--title=PA"}, {"Place", PlaceText("normal", normal, screen)}}) +
          EntryKeys(1, 2, ProbeCopy(ctx, "place_b"),
                    {{"Args", "--title=PB"}, {"Place", PlaceText("maximised", zoomed, screen)}}) +
          EntryKeys(1, 3, ProbeCopy(ctx, "place_c"),
                    {{"Args", "--title=PC"}, {"Place", PlaceText("normal", away, screen)}}) +
          EntryKeys(1, 4, ProbeCopy(ctx, "place_d"),
                    {{"Args", "--title=PD --show-after=3000"},
                     {"Place", PlaceText("normal", late, screen)}}));
  Program program;
  StartReady(ctx, program);
  OpenTitle(ctx, program, 1, "the title with places");
  const auto placed = [&] {
    HWND a = ProbeWindow("PA"), b = ProbeWindow("PB"), c = ProbeWindow("PC"), d = ProbeWindow("PD");
    return a && b && c && d && IsWindowVisible(d) && Near(VisibleBounds(a), normal) &&
           IsZoomed(b) && Near(VisibleBounds(d), late);
  };
  e2e::WaitUntil(placed, 15000);
  e2e::Expect(ctx, ProbeWindow("PA") && Near(VisibleBounds(ProbeWindow("PA")), normal),
              "the normal window within 2 px of its place, at " +
                  Show(VisibleBounds(ProbeWindow("PA"))) + ", wanted " + Show(normal));
  e2e::Expect(ctx, ProbeWindow("PB") && IsZoomed(ProbeWindow("PB")), "the maximised one kept so");
  const RECT c = VisibleBounds(ProbeWindow("PC"));
  const RECT& w = screen.work;
  // Moved the least way in: to the work area's edge nearest its place (Wine keeps
  // a window's foot some pixels above the bottom edge).
  e2e::Expect(ctx,
              c.left >= w.left && c.top >= w.top && c.bottom <= w.bottom &&
                  std::abs(c.right - w.right) <= 2 && c.top > (w.top + w.bottom) / 2,
              "the one placed off the screen inside the work area " + Show(w) + ", at " + Show(c));
  e2e::Expect(ctx, ProbeWindow("PD") && Near(VisibleBounds(ProbeWindow("PD")), late),
              "the window 3 s late in its place, at " + Show(VisibleBounds(ProbeWindow("PD"))) +
                  ", wanted " + Show(late));
  e2e::ExpectNoBox(ctx, program, "every window placed");
}

namespace {

// The start times the probes logged with --time, in the log's order.
std::vector<long long> StartTimes(const ProbeLog& log) {
  std::vector<long long> times;
  for (const std::string& line : log.Lines())
    times.push_back(std::atoll(line.substr(line.find_last_of('|') + 1).c_str()));
  return times;
}

// From the press to the menu on the screen, in ms; the menu is dismissed.
long long PressToMenu(Context& ctx, Program& program) {
  const ULONGLONG pressed = GetTickCount64();
  HWND menu = e2e::OpenMenu(ctx, program, WM_LBUTTONDOWN, "the left menu");
  const ULONGLONG shown = GetTickCount64();
  e2e::Dismiss(ctx, menu);
  return static_cast<long long>(shown - pressed);
}

}  // namespace

// Entries in order at their pace: the second starts 1 s after the first (its
// wait), the third once the second's window has shown, 1.5 s after its start;
// the left menu opens meanwhile as fast as when nothing opens.
E2E_CASE(WorkspaceStartsEntriesInOrderAtTheirPaceAndTheMenuStaysQuick) {
  ProbeLog log("probe-pace");
  PrepareSettings(
      ctx, "[Files]\r\n" +
               EntryKeys(2, 1, ProbeCopy(ctx, "pace_a"),
                         {{"Args", "--time --title=W1"}, {"Wait", "1"}}) +
               EntryKeys(2, 2, ProbeCopy(ctx, "pace_b"),
                         {{"Args", "--time --title=W2 --show-after=1500"}, {"WaitWindow", "1"}}) +
               EntryKeys(2, 3, ProbeCopy(ctx, "pace_c"), {{"Args", "--time --title=W3"}}));
  Program program;
  StartReady(ctx, program);
  long long idle = 0;
  for (int i = 0; i < 3; ++i) idle = std::max(idle, PressToMenu(ctx, program));
  OpenTitle(ctx, program, 2, "the paced title");
  e2e::Require(ctx, log.WaitForLines(1), "the first entry starts");
  long long busy = 0;
  for (int i = 0; i < 3; ++i) busy = std::max(busy, PressToMenu(ctx, program));
  e2e::Require(ctx, log.WaitForLines(4), "all three entries start, and the late window shows");
  const std::vector<long long> t = StartTimes(log);
  const std::vector<std::string> lines = log.Lines();
  e2e::Expect(ctx,
              lines[0].find("W1") != std::string::npos &&
                  lines[1].find("W2") != std::string::npos && lines[2].find("shown|") == 0 &&
                  lines[3].find("W3") != std::string::npos,
              "the entries start in their order, the third once the second's window shows");
  e2e::Expect(ctx, std::abs(t[1] - t[0] - 1000) <= 250,
              "1 s between the first and the second, got " + std::to_string(t[1] - t[0]) + " ms");
  // The window is taken once it has settled, about 0.1 s after it shows.
  e2e::Expect(
      ctx, std::abs(t[3] - t[2] - 100) <= 250,
      "the third after the second's window shows, got " + std::to_string(t[3] - t[2]) + " ms");
  e2e::Expect(ctx, busy <= std::max(idle + 250, 2 * idle),
              "the menu while the title opens in " + std::to_string(busy) + " ms, idle " +
                  std::to_string(idle) + " ms");
  e2e::ExpectNoBox(ctx, program, "the paced title opened");
}

namespace {

void MenuKey(HWND menu, WPARAM key) {
  PostMessageA(menu, WM_KEYDOWN, key, 0);
  PostMessageA(menu, WM_KEYUP, key, 0xC0000000);
}

// "Close a Title" by the keyboard: its item, the arrow into its submenu, the
// title; or, to look, the submenu read, its picture taken, and both dismissed.
void ChooseTitleToClose(Context& ctx, Program& program, HWND menu, int title, bool look) {
  for (int i = 0; i <= kRightCloseTitle; ++i) MenuKey(menu, VK_DOWN);  // from none
  MenuKey(menu, VK_RIGHT);  // opens the submenu at its first title, 20
  HWND sub = nullptr;
  e2e::WaitUntil([&] { return (sub = program.WaitForWindow("#32768", 100, menu)) != nullptr; },
                 3000);
  e2e::Require(ctx, sub != nullptr, "the titles to close open");
  // The spy reads the menu in front: the submenu itself, or the menu holding it.
  auto items = program.ReadMenu();
  if (items && !items->empty() && items->back().submenu.size() == 20) items = items->back().submenu;
  if (look) {
    e2e::Expect(ctx,
                items && items->size() == 20 &&
                    WithoutMarks((*items)[static_cast<std::size_t>(20 - title)].caption) == "Work",
                "the submenu names the titles as the left menu does");
    e2e::Screenshot(ctx, "menu-close-title");
    MenuKey(sub, VK_ESCAPE);
    e2e::WaitForWindowGone(sub, 3000);
    MenuKey(menu, VK_ESCAPE);
    e2e::Require(ctx, e2e::WaitForWindowGone(menu, 5000), "Escape dismisses both menus");
    return;
  }
  for (int i = 0; i < 20 - title; ++i) MenuKey(sub, VK_DOWN);
  MenuKey(sub, VK_RETURN);
  e2e::Require(ctx, e2e::WaitForWindowGone(menu, 5000), "the menu closes");
}

void EndProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
  if (process == nullptr) return;
  TerminateProcess(process, 0);
  WaitForSingleObject(process, 5000);
  CloseHandle(process);
}

}  // namespace

// A title closed from the right menu: its programs are asked as a user closing
// their windows would; one that will not close is told of and runs on, one
// left running stays; --close tells the same by its status.
E2E_CASE(CloseATitleAsksItsProgramsAndTellsWhichStillRun) {
  ProbeLog log("probe-close");
  const std::string stubborn = ProbeCopy(ctx, "close_b");
  PrepareSettings(
      ctx, "[Files]\r\nDesc3=Work\r\n" +
               EntryKeys(3, 1, ProbeCopy(ctx, "close_a"), {{"Args", "--title=C1"}}) +
               EntryKeys(3, 2, stubborn, {{"Args", "--title=C2 --refuse-close"}}) +
               EntryKeys(3, 3, ProbeCopy(ctx, "close_c"), {{"Args", "--title=C3"}, {"Stay", "1"}}));
  Program program;
  StartReady(ctx, program);
  ChooseTitleToClose(ctx, program, e2e::OpenMenu(ctx, program, WM_RBUTTONDOWN, "the right menu"), 3,
                     true);
  OpenTitle(ctx, program, 3, "the title to close");
  e2e::Require(
      ctx,
      e2e::WaitUntil([] { return ProbeWindow("C1") && ProbeWindow("C2") && ProbeWindow("C3"); },
                     10000),
      "its three programs run");
  ChooseTitleToClose(ctx, program, e2e::OpenMenu(ctx, program, WM_RBUTTONDOWN, "the right menu"), 3,
                     false);
  e2e::Expect(ctx, e2e::WaitUntil([] { return ProbeWindow("C1") == nullptr; }, 5000),
              "the program that closes on WM_CLOSE has closed");
  HWND box = program.WaitForWindow("#32770", 15000);
  e2e::Require(ctx, box != nullptr, "a box tells what still runs");
  const std::string text = e2e::ReadBox(box).text;
  e2e::Expect(ctx,
              text.find("\"" + stubborn + "\"") != std::string::npos &&
                  text.find("close_c") == std::string::npos &&
                  text.find("close_a") == std::string::npos,
              "only the program that refused is told of: " + text);
  e2e::Answer(ctx, box, IDOK, "the box");
  e2e::Expect(ctx, ProbeWindow("C2") != nullptr, "the one that refused runs on");
  e2e::Expect(ctx, ProbeWindow("C3") != nullptr, "the one left running stays");
  program.Stop();

  const DWORD some = RunToNul(ctx, "--close Work", 20000);
  e2e::Expect(ctx, some == 1, "--close with one still open: status 1, got " + std::to_string(some));
  EndProcessOf(ProbeWindow("C2"));
  const DWORD all = RunToNul(ctx, "--close 3", 20000);
  e2e::Expect(ctx, all == 0, "--close with all closed: status 0, got " + std::to_string(all));
  e2e::Expect(ctx, ProbeWindow("C3") != nullptr, "--close leaves the one left running");
  const DWORD none = RunToNul(ctx, "--close Nobody");
  e2e::Expect(ctx, none == 2, "--close Nobody: status 2, got " + std::to_string(none));
}

namespace {

// A normal window's place as a remembered one reads: its visible bounds and its monitor.
std::string PlaceOfWindow(HWND window) {
  const RECT b = VisibleBounds(window);
  MONITORINFOEXA info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
  const RECT& m = info.rcMonitor;
  const auto n = [](LONG v) { return std::to_string(v); };
  return "normal," + n(b.left) + "," + n(b.top) + "," + n(b.right - b.left) + "," +
         n(b.bottom - b.top) + ",96," + n(m.left) + "," + n(m.top) + "," + n(m.right - m.left) +
         "," + n(m.bottom - m.top) + "," + info.szDevice;
}

}  // namespace

// A running program's window place remembered by the edit window's button,
// told in one box, shown by the options dialog and saved by Ok beside its
// entry; then by --remember, maximised, with the statuses of --open.
E2E_CASE(RememberWindowPlacesFromTheEditWindowAndTheCommandLine) {
  ProbeLog log("probe-remember");
  const std::string probe = ProbePath(ctx);
  PrepareSettings(ctx, "[Files]\r\nDesc1=Probe\r\nSet111=" + probe + "\r\nSet111Args=--kept\r\n" +
                           "Set112=" + SettingsPath() +
                           "\r\nDesc2=Idle\r\nSet221=" + e2e::WindowsDir() + "\\notepad.exe\r\n");
  Program program;
  StartReady(ctx, program);
  OpenTitle(ctx, program, 1, "the probe's title");
  e2e::Require(ctx, e2e::WaitUntil([] { return ProbeLog::Windows().size() == 1; }, 10000),
               "the probe's window is up");
  HWND window = ProbeLog::Windows()[0];
  SetWindowPos(window, nullptr, 70, 60, 330, 210, SWP_NOZORDER | SWP_NOACTIVATE);
  e2e::Require(ctx, e2e::WaitUntil([&] { return VisibleBounds(window).left >= 60; }, 3000),
               "the probe moved");
  const std::string place = PlaceOfWindow(window);

  HWND menu = e2e::OpenMenu(ctx, program, WM_LBUTTONDOWN, "the left menu");
  e2e::Choose(ctx, program, menu, kLeftEdit, "Edit Your List");
  HWND editor = e2e::WaitWindow(ctx, program, kEditorClass, "the edit window");
  e2e::Click(ctx, editor, editor::Button2);
  e2e::ExpectOkBox(
      ctx, program, "Information",
      std::string(vantrel::kCaptureIntro) + "\n\n\"" + probe + "\": " + vantrel::kCapturedLine,
      "information", "Remember Window Places");
  e2e::ExpectEq(ctx, FilesValue("Set111Place"), "<missing>", "nothing saved before Ok");
  e2e::Screenshot(ctx, "editor-remember", editor);
  DoubleClickLine(e2e::Control(ctx, editor, editor::Listapps), 0);
  HWND dialog = e2e::WaitWindow(ctx, program, kEntryOptionsClass, "the entry's options");
  e2e::Screenshot(ctx, "dialog-entryoptions-place", dialog);
  e2e::PressKey(dialog, VK_ESCAPE);
  e2e::Require(ctx, e2e::WaitForWindowGone(dialog, 5000), "Escape closes the options");
  e2e::Click(ctx, editor, editor::BitBtn1);
  e2e::Require(ctx, e2e::WaitForWindowGone(editor, 5000), "Ok closes the edit window");
  e2e::ExpectEq(ctx, FilesValue("Set111Place"), place, "the probe's place saved");
  e2e::ExpectEq(ctx, FilesValue("Set111Entry"), probe, "beside the entry it belongs to");
  e2e::ExpectEq(ctx, FilesValue("Set111Args"), "--kept", "its other options kept");
  e2e::ExpectEq(ctx, FilesValue("Set112Place"), "<missing>", "a document has no place");

  // Moved away, then the title opened again: the new window comes up where
  // the remembered one was.
  const RECT spot = VisibleBounds(window);
  SetWindowPos(window, nullptr, 400, 300, 200, 150, SWP_NOZORDER | SWP_NOACTIVATE);
  OpenTitle(ctx, program, 1, "the title opened again");
  HWND again = nullptr;
  const bool back = e2e::WaitUntil(
      [&] {
        for (HWND w : ProbeLog::Windows())
          if (w != window) again = w;
        return again != nullptr && Near(VisibleBounds(again), spot);
      },
      10000);
  e2e::Expect(ctx, back,
              "the reopened window at its remembered place " + Show(spot) + ", at " +
                  (again ? Show(VisibleBounds(again)) : std::string("no window")));
  if (again != nullptr) PostMessageA(again, WM_CLOSE, 0, 0);
  e2e::WaitUntil([] { return ProbeLog::Windows().size() == 1; }, 5000);

  ShowWindow(window, SW_MAXIMIZE);
  e2e::Require(ctx, e2e::WaitUntil([&] { return IsZoomed(window) != FALSE; }, 3000),
               "the probe is maximised");
  const DWORD remembered = RunToNul(ctx, "--remember probe");
  e2e::Expect(ctx, remembered == 0, "--remember probe: 0, got " + std::to_string(remembered));
  // Its normal bounds are not checked: Wine tells another process a maximised
  // window's rectangle for them.
  e2e::Expect(ctx, FilesValue("Set111Place").rfind("maximised,", 0) == 0,
              "maximised: " + FilesValue("Set111Place"));
  const DWORD idle = RunToNul(ctx, "--remember 2");
  e2e::Expect(ctx, idle == 1,
              "--remember of a program not running: 1, got " + std::to_string(idle));
  const DWORD nobody = RunToNul(ctx, "--remember Nobody");
  e2e::Expect(ctx, nobody == 2, "--remember Nobody: 2, got " + std::to_string(nobody));
  e2e::ExpectEq(ctx, FilesValue("Set221Place"), "<missing>", "no place for it");
}
