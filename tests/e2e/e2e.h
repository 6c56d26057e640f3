// Helpers for driving the real vantrel.exe from another process under Wine
// (or Windows): a tiny test-case framework, the program's process and hidden
// main window, its tray callback, pop-up menus (read through menuspy.dll from
// inside the program), message boxes, the registry and files.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

// --- Test cases --------------------------------------------------------------

// A failed Require ends the case at once; a failed Expect is recorded and the
// case goes on.
struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Context;
using TestFunction = void (*)(Context&);

struct Registrar {
  Registrar(const char* name, TestFunction function);
};

#define E2E_CASE(name)                                       \
  static void name(e2e::Context&);                           \
  static const e2e::Registrar name##_registrar(#name, name); \
  static void name(e2e::Context& ctx)

void Expect(Context& ctx, bool ok, const std::string& what);
void Require(Context& ctx, bool ok, const std::string& what);
void ExpectEq(Context& ctx, const std::string& actual, const std::string& expected,
              const std::string& what);

// Runs every registered case whose name contains `filter`; prints one line per
// case and "e2e: N passed, M failed" at the end. Returns M.
int RunAll(Context& ctx, const std::string& filter);

// --- The run's settings ------------------------------------------------------

struct Context {
  std::string programPath;  // full Windows path of vantrel.exe
  std::string spyPath;      // menuspy.dll beside the driver
  std::string shotsDir;     // where screenshot requests go; empty: none taken
  std::vector<std::string> failures;  // of the running case
};

// Asks the script around the driver for a screenshot named `name`.png: of the
// whole screen, or, when `window` is given, of that window once it has painted.
// Waits until it has been taken (a few seconds at most).
void Screenshot(Context& ctx, const std::string& name, HWND window = nullptr);

// --- Waiting -----------------------------------------------------------------

// Polls `ready` every 20 ms until it is true or `timeoutMs` have passed.
bool WaitUntil(const std::function<bool()>& ready, DWORD timeoutMs);

// --- The program ---------------------------------------------------------------

// A control that shows text or a picture, as measured inside the program.
struct ShownText {
  int id = 0;
  // 'L' label, 'N' label that does not wrap, 'B' button, 'O' button the
  // program draws (with a picture), 'I' picture, 'E' one-line edit box.
  char kind = 0;
  RECT rect{};    // in its window's client area
  SIZE needed{};  // its text in its own font; a label's broken at its width
  // The first and last column of the control where its own picture shows,
  // drawn into memory; -1 -1 when it shows none.
  std::pair<long, long> picture{-1, -1};
  std::string text;
};

struct MenuItem {
  std::string caption;  // as the menu holds it, with its "&" marks
  bool separator = false;
  bool enabled = true;
  std::vector<MenuItem> submenu;
};

class Program {
 public:
  Program() = default;
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Starts the program and waits for its hidden main window TForm1.
  bool Start(Context& ctx, DWORD timeoutMs = 15000);
  // Starts the program with arguments and waits for nothing: its standard
  // output and errors go to `output`, or, given none, it has neither.
  bool Launch(Context& ctx, const std::string& arguments, HANDLE output);
  // The exit code once it has ended; STILL_ACTIVE before.
  DWORD ExitCode() const;
  DWORD Pid() const { return pid_; }
  HWND MainWindow() const { return main_; }
  bool Running() const;
  bool WaitForExit(DWORD timeoutMs);
  // Ends the program if it still runs (by force after a grace period).
  void Stop();

  // The tray callback as the shell sends it (513 left press, 516 right press);
  // in its version 4 form the icon's place comes along as MAKEWPARAM(x, y).
  void PostTrayCallback(LPARAM mouseMessage, WPARAM anchor = 0);
  // Whether the shell still holds the icon (main window, id 0).
  bool TrayIconPresent() const;

  // The visible pop-up menu window of the program, or null after the timeout.
  HWND WaitForMenu(DWORD timeoutMs = 5000) const;
  // The items of the open pop-up menu, read from inside the program.
  std::optional<std::vector<MenuItem>> ReadMenu();
  // Chooses the item at `index` of the open menu by keys (Down index+1, Return).
  void ChooseMenuItem(HWND menu, int index);

  // The program's next visible top-level window of a class (message boxes are
  // "#32770"), other than `except`.
  HWND WaitForWindow(const char* className, DWORD timeoutMs, HWND except = nullptr) const;
  // The icon kind of a message box: "warning", "information", "error",
  // "question", "none" or "unknown", read from inside the program.
  std::string BoxIcon(HWND box);
  // The visible controls of a window that show text or a picture, measured
  // from inside the program.
  std::optional<std::vector<ShownText>> MeasureTexts(HWND window);
  // Tells a window of the program that it is now on a monitor of 144 DPI.
  bool MoveTo144Dpi(HWND window);
  // From now on the program's starts through the shell (ShellExecuteExA) are
  // recorded in the file named by VANTREL_SPY_SHELL_LOG, as the program had it
  // at its start; with `refuseElevation`, each "runas" start is refused as the
  // system refuses a prompt the user declined. False when it could not be set.
  bool RecordShellStarts(bool refuseElevation);

 private:
  bool InjectSpy();
  std::optional<DWORD> CallSpy(const char* function, void* argument, DWORD timeoutMs);
  // The spy's answer and the text it wrote for the driver.
  std::optional<std::pair<DWORD, std::string>> CallSpyForText(const char* function, void* argument);

  Context* ctx_ = nullptr;
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  HWND main_ = nullptr;
  ULONG_PTR spyBase_ = 0;
};

// --- Message boxes ----------------------------------------------------------------

struct Box {
  HWND hwnd = nullptr;
  std::string caption;
  std::string text;
  std::vector<int> buttons;  // ids of the visible buttons, in window order
  int defaultButton = 0;     // id of the button that has the default style, 0 none
};

Box ReadBox(HWND box);
// Clicks the box's button (IDOK, IDYES, IDNO, ...); true when it was there.
bool PressBoxButton(HWND box, int id);
// Posts a key press to the box's focused control, as the keyboard would.
void PressKey(HWND window, WPARAM key);
bool WaitForWindowGone(HWND window, DWORD timeoutMs);

// --- Windows and controls, asked by message --------------------------------------------

// Sent with a timeout, so a hung program cannot hang the driver.
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
std::string Text(HWND window);
void SetText(HWND window, const std::string& text);
// Pixels inside a box's client area, read from the screen, that are far from
// its background: the text that shows. An edit box's selection is taken away
// first, as its highlight would count.
int TextPixels(HWND control);
HWND Control(Context& ctx, HWND window, int id);
// Posted, as a click does not wait for the modal window it may open.
void Click(Context& ctx, HWND window, int id);
int Selected(HWND list);
// The program's next window of a class; the case ends when none opens.
HWND WaitWindow(Context& ctx, Program& program, const char* className, const std::string& what);

// --- Message boxes and menus of the program ----------------------------------------------

// Waits for the next message box and checks its caption, text and icon.
HWND ExpectBox(Context& ctx, Program& program, const std::string& caption,
               const std::string& text, const std::string& icon, const std::string& when);
// The same, and the box's buttons.
HWND ExpectBox(Context& ctx, Program& program, const std::string& caption,
               const std::string& text, const std::string& icon, const std::vector<int>& buttons,
               const std::string& when);
void Answer(Context& ctx, HWND box, int button, const std::string& when);
// A box with one OK button, checked and answered.
void ExpectOkBox(Context& ctx, Program& program, const std::string& caption,
                 const std::string& text, const std::string& icon, const std::string& when);
void ExpectNoBox(Context& ctx, Program& program, const std::string& when);

HWND OpenMenu(Context& ctx, Program& program, LPARAM press, const std::string& when);
void Choose(Context& ctx, Program& program, HWND menu, int index, const std::string& when);
void Dismiss(Context& ctx, HWND menu);

// --- Registry of the current user -----------------------------------------------

inline const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::optional<std::string> ReadRegString(const std::string& key, const std::string& name);
bool WriteRegString(const std::string& key, const std::string& name, const std::string& value);
void DeleteRegValue(const std::string& key, const std::string& name);

// --- Files ---------------------------------------------------------------------------

std::string AppDataFolder();
bool IsDirectory(const std::string& path);
bool IsFile(const std::string& path);
std::optional<std::string> ReadFileText(const std::string& path);
bool WriteFileText(const std::string& path, const std::string& text);
// Removes a file, or a folder with the files in it.
void RemovePath(const std::string& path);
bool SameText(const std::string& a, const std::string& b);
// The text's complete lines (a last one without its line end may still be
// being written), each without its "\r\n" or "\n".
std::vector<std::string> SplitLines(const std::string& text);
std::string Trimmed(const std::string& text);
// The temporary folder without its last "\\"; `longForm` spells out short names.
std::string TempDir(bool longForm = false);
std::string WindowsDir();
std::string SystemDir();

// Holds the file open without sharing (or sharing only what `share` says) for
// `heldMs`, as a virus scanner or a sync tool does for a moment, and runs
// `meanwhile` once it is held; false when the file could not be opened.
bool HoldUnshared(const std::string& path, DWORD heldMs, const std::function<void()>& meanwhile,
                  DWORD share = 0);

// One section of an ini file as key -> value (the first of duplicates), and
// how many key lines it has.
struct IniSection {
  std::map<std::string, std::string> values;
  int keyLines = 0;
};
std::optional<IniSection> ReadIniSection(const std::string& path, const std::string& wanted);

// Files the case made, removed when it ends.
class MadeFiles {
 public:
  MadeFiles() = default;
  ~MadeFiles() {
    for (const std::string& path : paths_) RemovePath(path);
  }
  MadeFiles(const MadeFiles&) = delete;
  MadeFiles& operator=(const MadeFiles&) = delete;
  bool Write(const std::string& path, const std::string& text) {
    paths_.push_back(path);
    return WriteFileText(path, text);
  }
  bool Copy(const std::string& from, const std::string& to) {
    paths_.push_back(to);
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
  }

 private:
  std::vector<std::string> paths_;
};

// A value of any type, written as raw bytes.
bool WriteRegValue(const std::string& key, const std::string& name, DWORD type,
                   const std::string& bytes);
bool WriteRegDword(const std::string& key, const std::string& name, DWORD value);

// Puts a registry value back as it was, type and all (or removes it), when the case ends.
class RestoreRegValue {
 public:
  RestoreRegValue(std::string key, std::string name);
  ~RestoreRegValue();
  RestoreRegValue(const RestoreRegValue&) = delete;
  RestoreRegValue& operator=(const RestoreRegValue&) = delete;

 private:
  std::string key_;
  std::string name_;
  bool had_ = false;
  DWORD type_ = 0;
  std::string bytes_;
};

}  // namespace e2e
