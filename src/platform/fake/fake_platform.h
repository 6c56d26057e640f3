// An in-memory platform for tests: message boxes answered by script, an
// in-memory registry, a fake clock for the timer, shell calls recorded with
// scripted results, forms rendered as data, and a real temporary folder that
// stands for drive C: so that file operations are real.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/platform.h"

namespace vantrel {

class FakePlatform;

// What a test can do to a form while it is shown. Keys, the close box and list
// clicks follow the same model as the real window.
class FakeFormDriver {
 public:
  FakeFormDriver(FakePlatform& platform, Form& form);
  Form& form() { return form_; }
  // A check box's click turns its mark over first, as the system's does.
  void Click(const std::string& name);
  // Types into an edit, keeping its length limit as a real edit box does; the
  // caret ends after the text.
  void Type(const std::string& name, const std::string& text);
  void Select(const std::string& name, int index);          // a click on a list line
  void PressKeys(const std::string& name, KeyCombo combo);  // into a hot-key box
  // The line clicked, then clicked again at once: a click, then its open.
  void DoubleClick(const std::string& name, int index);
  void PressAltEnter();                 // the "properties" key: opens the focused list's line
  void Focus(const std::string& name);  // as Tab or a click would move it
  const Control* Focused() const { return focused_; }
  void PressEnter();  // a memo with the focus gets a new line at its caret
  void PressEscape();
  void CloseBox();
  const std::string& Text(const std::string& name) { return form_[name].text; }
  bool Closed() const { return form_.CloseRequested(); }

 private:
  void EnsureOpen(const std::string& action);
  // Runs one user action; a box or window it opened hands the focus back as the
  // real window does when it is active again.
  void Act(const std::function<void()>& action);
  void Report(const std::string& text);
  FakePlatform& platform_;
  Form& form_;
  Control* focused_ = nullptr;
  std::size_t caret_ = 0;  // in the focused memo
};

struct ShownBox {
  BoxKind kind;
  std::string text;
  BoxButtons buttons;
};

struct ShellCall {
  std::string verb, file, parameters, directory;
  int show;
};

struct ShownForm {
  std::string className;
  std::string caption;
  std::string ownerClass;
};

class FakePlatform : public Platform {
 public:
  FakePlatform();
  ~FakePlatform() override;

  // ---- Scripting and inspection ---------------------------------------------
  std::filesystem::path root;  // stands for drive C:
  std::string appData = "C:\\Users\\tester\\AppData\\Roaming";
  std::string windowsDir = "C:\\Windows";
  std::string systemDir = "C:\\Windows\\System32";
  std::string programPath = "C:\\Program Files\\Vantrel\\vantrel.exe";

  // A Windows path as a real path under root ("C:\a\b" -> root/C/a/b).
  std::filesystem::path Real(const std::string& windowsPath) const;
  void WriteFile(const std::string& windowsPath, const std::string& contents);
  std::string ReadFile(const std::string& windowsPath) const;
  void MakeDirectory(const std::string& windowsPath);
  void SetReadOnly(const std::string& windowsPath, bool readOnly);
  bool diskFull = false;  // every write fails
  // The next `readAnswers` reads (-1: every read) answer `readAnswer` instead of
  // reading, as the system does for a file held, refused or on a network gone.
  FileAnswer readAnswer = FileAnswer::Done;
  int readAnswers = 0;
  // The clock that stamps files (every file written records it) and that
  // Wait moves on; a test moves it to let a file settle.
  std::uint64_t clockMs = 1000000;
  // Answers the next file steps give instead of doing them (a creation that
  // fails leaves half the file, as a full disk does).
  std::deque<FileStep> createAnswers, identityAnswers, renameAnswers;
  std::vector<std::string> identities;  // "from -> to" of each identity carried over
  int waitedMs = 0;
  std::uint32_t processId = 4242;
  std::set<std::uint32_t> runningProcesses;       // besides this one
  bool lockHeldElsewhere = false;                 // another copy holds every named lock
  int writes = 0;                                 // successful file replacements
  int fileReads = 0;                              // whole-file reads
  std::map<std::string, std::string> shortPaths;  // overrides of the short form

  // Questions (Yes/No boxes) take their answers in order; with none left, No.
  std::deque<BoxResult> boxAnswers;
  std::function<void(const ShownBox&)> onBox;  // runs while the box is "open"
  std::vector<ShownBox> boxes;
  std::vector<std::string> errorBoxes;

  std::vector<ShellCall> shellCalls;
  std::map<std::string, std::uintptr_t> shellResults;  // by file; default 42
  std::function<void(const ShellCall&)> onShell;
  // The elevation prompt refused; otherwise shellResults decide (above 32: started).
  bool refuseElevation = false;
  std::vector<RunningProgram> running;     // what RunningPrograms lists
  std::set<std::uint32_t> processWindows;  // processes with a main window
  std::vector<std::uint32_t> broughtToFront;

  // Command line and output: what the standard output is, whether the
  // program that started this one has a console to attach, and the text
  // written to either.
  std::string commandLine = "\"C:\\Program Files\\Vantrel\\vantrel.exe\"";
  OutputKind standardOutput = OutputKind::Pipe;
  bool parentConsole = false;
  std::string output;

  // Shortcut keys: what this copy holds, by id, and what other programs hold.
  std::map<int, KeyCombo> hotKeys;
  std::vector<KeyCombo> keysHeldElsewhere;
  void HotKey(int id);  // the key registered under `id` pressed

  // Main window and tray icon.
  std::string mainClass, mainCaption;
  bool iconShown = false;
  int iconAdds = 0;
  std::string iconTip;
  bool mainClosed = false;
  Point cursor{100, 200};
  int foregroundCalls = 0;
  void TrayCallback(long mouseMessage);  // as the shell sends it
  void TaskbarCreated();                 // the shell's notification area was re-created

  // Menus: each pop-up is recorded; the chooser picks an index (-1 dismisses).
  std::vector<std::vector<std::string>> menus;
  std::vector<Point> menuPoints;
  std::deque<std::function<int(const std::vector<std::string>&)>> menuChoices;

  // Timer.
  bool timerEnabled = false;
  int timerStarts = 0;
  void Tick();  // one 500 ms interval

  // Modal forms: scripts taken in order for each window class; a form shown
  // with no script left is closed by its close box.
  using FormScript = std::function<void(FakeFormDriver&)>;
  void Script(const std::string& className, FormScript script);
  std::vector<ShownForm> shownForms;
  std::deque<std::optional<std::string>> fileChoices;  // nothing: cancelled
  std::vector<std::string> fileChooserStarts;

  // System parameters.
  bool screenSaveActive = true;
  bool spiGetFails = false;
  bool spiSetFails = false;
  std::vector<bool> spiSets;
  int platformId = 2;

  // Registry of the current user: key paths compare without case.
  void RegCreateKey(const std::string& subKey);
  void RegRemoveKey(const std::string& subKey);
  void RegPut(const std::string& subKey, const std::string& name, RegValue value);
  void RegPutString(const std::string& subKey, const std::string& name, const std::string& text);
  void RegPutDword(const std::string& subKey, const std::string& name, std::uint32_t number);
  std::optional<RegValue> RegGet(const std::string& subKey, const std::string& name) const;
  std::vector<std::string> deniedKeys;  // cannot be opened with full access
  bool regWritesFail = false;
  bool regDeletesFail = false;
  int openKeys = 0;  // keys opened and not yet closed

  // ---- Platform ----------------------------------------------------------------
  std::string CommandLineText() override { return commandLine; }
  OutputKind StandardOutput() override { return standardOutput; }
  bool AttachParentConsole() override;
  bool WriteOutput(const std::string& text) override;
  bool RegisterHotKey(int id, const KeyCombo& combo) override;
  void UnregisterHotKey(int id) override { hotKeys.erase(id); }
  BoxResult ShowMessage(BoxKind kind, const std::string& text, BoxButtons buttons) override;
  void ShowErrorBox(const std::string& text) override;
  std::string AppDataFolder() override { return appData; }
  std::string WindowsDirectory() override { return windowsDir; }
  std::string SystemDirectory() override { return systemDir; }
  std::string ProgramPath() override { return programPath; }
  PathKind GetPathKind(const std::string& path) override;
  bool CreateDirectory(const std::string& path) override;
  FileAnswer ReadWholeFile(const std::string& path, std::string& contents) override;
  std::optional<FileStamp> GetFileStamp(const std::string& path) override;
  std::uint64_t ClockMs() override { return clockMs; }
  std::string FinalPath(const std::string& path) override { return path; }
  FileStep CreateNewFile(const std::string& path, const std::string& contents) override;
  FileStep CopyFileIdentity(const std::string& from, const std::string& to) override;
  FileStep RenameOver(const std::string& from, const std::string& to) override;
  bool DeleteFile(const std::string& path) override;
  std::uint32_t ProcessId() override { return processId; }
  bool ProcessRunning(std::uint32_t id) override {
    return id == processId || runningProcesses.count(id) != 0;
  }
  void Wait(int milliseconds) override {
    waitedMs += milliseconds;
    clockMs += static_cast<std::uint64_t>(milliseconds);
  }
  std::uintptr_t AcquireNamedLock(const std::string& name, int timeoutMs) override;
  void ReleaseNamedLock(std::uintptr_t lock) override;
  // The legacy code page here is Latin-1 (the first 256 code points).
  std::string LegacyToUtf8(std::string_view bytes) override;
  std::optional<std::string> Utf8ToLegacy(std::string_view text) override;
  std::vector<std::string> FindFiles(const std::string& pattern) override;
  std::string ShortPath(const std::string& path) override;
  ShellStart StartThroughShell(const std::string& verb, const std::string& file,
                               const std::string& parameters, const std::string& directory,
                               int showMode) override;
  std::vector<RunningProgram> RunningPrograms() override { return running; }
  bool BringProcessToFront(std::uint32_t processId) override;
  void CreateMainWindow(const std::string& className, const std::string& caption) override;
  void SetEvents(PlatformEvents* events) override { events_ = events; }
  void AddTrayIcon(const std::string& tip) override;
  void DeleteTrayIcon() override;
  void CloseMainWindow() override;
  Point CursorPos() override { return cursor; }
  void SetForegroundMainWindow() override { ++foregroundCalls; }
  int PopupMenu(const std::vector<std::string>& captions, Point at) override;
  void EnableTimer(bool enabled) override;
  bool TimerEnabled() override { return timerEnabled; }
  int ShowModal(Form& form, Form* owner) override;
  std::optional<std::string> ChooseFile(const std::string& initialName) override;
  bool GetScreenSaveActive(bool& active) override;
  bool SetScreenSaveActive(bool on) override;
  int PlatformId() override { return platformId; }
  RegHandle RegOpenKey(const std::string& subKey) override;
  std::optional<RegValue> RegQueryValue(RegHandle key, const std::string& name) override;
  bool RegSetValue(RegHandle key, const std::string& name, const RegValue& value) override;
  bool RegDeleteValue(RegHandle key, const std::string& name) override;
  void RegCloseKey(RegHandle key) override;

 private:
  struct StoredValue {
    std::string name;
    RegValue value;
  };
  // Every file and folder in the order it was made: the system lists a folder
  // in its own order, and the program must not count on any sorting.
  void Made(const std::filesystem::path& real);
  std::map<std::filesystem::path, long> madeOrder_;
  std::map<std::filesystem::path, std::uint64_t> writtenMs_;  // by the fake clock
  using RegKeyData = std::map<std::string, StoredValue>;      // by lower-case name
  std::map<std::string, RegKeyData> registry_;                // by lower-case key path
  std::map<RegHandle, std::string> handles_;
  RegHandle nextHandle_ = 1;
  PlatformEvents* events_ = nullptr;
  std::map<std::string, std::deque<FormScript>> scripts_;
  std::map<std::uintptr_t, std::string> locks_;  // held by this copy
  bool iconWanted_ = false;
};

}  // namespace vantrel
