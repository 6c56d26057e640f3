// The Platform interface on plain Win32 (the ...A functions): message boxes,
// files, shell, the hidden main window with its tray icon, menus, timer,
// modal forms, the file chooser, system parameters and the registry.
#pragma once

#include "platform/win32/tray_notify.h"
#include "platform/win32/win32_api.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/handles.h"

namespace vantrel::win32 {

class FormWindow;

class Win32Platform : public Platform {
 public:
  explicit Win32Platform(HINSTANCE instance);
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  std::string CommandLineText() override;
  OutputKind StandardOutput() override;
  bool AttachParentConsole() override;
  bool WriteOutput(const std::string& text) override;

  BoxResult ShowMessage(BoxKind kind, const std::string& text, BoxButtons buttons) override;
  void ShowErrorBox(const std::string& text) override;

  std::string AppDataFolder() override;
  std::string WindowsDirectory() override;
  std::string SystemDirectory() override;
  std::string ProgramPath() override;
  PathKind GetPathKind(const std::string& path) override;
  bool CreateDirectory(const std::string& path) override;
  FileAnswer ReadWholeFile(const std::string& path, std::string& contents) override;
  std::optional<FileStamp> GetFileStamp(const std::string& path) override;
  std::uint64_t ClockMs() override;
  std::string FinalPath(const std::string& path) override;
  FileStep CreateNewFile(const std::string& path, const std::string& contents) override;
  FileStep CopyFileIdentity(const std::string& from, const std::string& to) override;
  FileStep RenameOver(const std::string& from, const std::string& to) override;
  bool DeleteFile(const std::string& path) override;
  std::uint32_t ProcessId() override;
  bool ProcessRunning(std::uint32_t id) override;
  void Wait(int milliseconds) override;
  std::uintptr_t AcquireNamedLock(const std::string& name, int timeoutMs) override;
  void ReleaseNamedLock(std::uintptr_t lock) override;
  std::string LegacyToUtf8(std::string_view bytes) override;
  std::optional<std::string> Utf8ToLegacy(std::string_view text) override;
  std::vector<std::string> FindFiles(const std::string& pattern) override;
  std::string ShortPath(const std::string& path) override;

  ShellStart StartThroughShell(const std::string& verb, const std::string& file,
                               const std::string& parameters, const std::string& directory,
                               int showMode) override;
  std::vector<RunningProgram> RunningPrograms() override;
  bool BringProcessToFront(std::uint32_t processId) override;

  void CreateMainWindow(const std::string& className, const std::string& caption) override;
  void SetEvents(PlatformEvents* events) override;
  void AddTrayIcon(const std::string& tip) override;
  void DeleteTrayIcon() override;
  void CloseMainWindow() override;
  Point CursorPos() override;
  void SetForegroundMainWindow() override;
  int PopupMenu(const std::vector<std::string>& captions, Point at) override;
  void EnableTimer(bool enabled) override;
  bool TimerEnabled() override;
  bool RegisterHotKey(int id, const KeyCombo& combo) override;
  void UnregisterHotKey(int id) override;

  int ShowModal(Form& form, Form* owner) override;
  std::optional<std::string> ChooseFile(const std::string& initialName) override;

  bool GetScreenSaveActive(bool& active) override;
  bool SetScreenSaveActive(bool on) override;
  int PlatformId() override;

  RegHandle RegOpenKey(const std::string& subKey) override;
  std::optional<RegValue> RegQueryValue(RegHandle key, const std::string& name) override;
  bool RegSetValue(RegHandle key, const std::string& name, const RegValue& value) override;
  bool RegDeleteValue(RegHandle key, const std::string& name) override;
  void RegCloseKey(RegHandle key) override;

  HINSTANCE Instance() const { return instance_; }
  HWND MainWindow() const { return main_; }
  // The window that boxes and choosers belong to: the innermost modal form
  // that is showing, else the main window.
  HWND DialogOwner() const;

 private:
  static LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMainMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void AddIconToShell();
  void AllowTaskbarCreated();

  HINSTANCE instance_;
  HWND main_ = nullptr;
  PlatformEvents* events_ = nullptr;
  NOTIFYICONDATAA icon_{};
  OwnedIcon trayIcon_;  // the program's first icon, as the tray shows it
  bool iconShown_ = false;
  TrayNotifications trayNotifications_;
  std::optional<Point> keyboardAnchor_;  // while the keyboard's notification runs
  bool menuOpen_ = false;
  UINT taskbarCreated_ = 0;
  void EnsureCom();
  bool comTried_ = false;
  bool comReady_ = false;
  void(WINAPI* comUninitialize_)() = nullptr;
  bool timerEnabled_ = false;
  std::vector<FormWindow*> modalStack_;  // innermost last

  friend class FormWindow;
};

}  // namespace vantrel::win32
