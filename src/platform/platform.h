// The one interface between Vantrel's logic and the operating system.
// Everything here speaks in plain types; handles never leave the implementation.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/key_combo.h"

namespace vantrel {

class Form;

enum class BoxKind { Warning, Information, Plain };
enum class BoxButtons { Ok, YesNo };
enum class BoxResult { Ok, Yes, No };

// What the file test reports for a path. Missing only when the system answered
// that the file or its folder is not there; Unknown when it could not tell
// (access refused, a network or device error, a name it cannot resolve).
enum class PathKind { Missing, File, Directory, Unknown };

// What the system answered a whole-file read, as it said it: the file read, no
// such file, no such folder on the way to it, a folder in its place, access
// refused (so too while the file is being deleted or replaced), held by another
// program (a sharing or lock violation), a network or a device gone away, or
// anything else. What each means is decided once, in store/file_replace.
enum class FileAnswer {
  Done,
  NotFound,
  PathNotFound,
  Folder,
  AccessDenied,
  Held,
  NetworkGone,
  Other
};

// What one step on a file answered. Locked: another program holds the file for
// the moment (a sharing or lock violation, or access refused while it is held),
// an answer worth waiting out.
enum class FileStep { Done, Exists, Locked, Failed };

// A file's size and the time of its last write, in milliseconds on the clock
// of ClockMs(). Two writes within one tick of the volume's clock (up to 2 s)
// may leave the same stamp: store/file_replace says when a stamp can be trusted.
struct FileStamp {
  std::uint64_t size = 0, writtenMs = 0;
  bool operator==(const FileStamp&) const = default;
};

enum class RegType { None, String, ExpandString, Dword, Binary, Other };

struct RegValue {
  RegType type = RegType::None;
  std::string data;  // raw bytes as stored (a string value includes its NUL)
};

struct Point {
  int x = 0;
  int y = 0;
};

// How a start through the shell shows the started program's window, numbered
// as the system numbers its SW_ modes.
inline constexpr int kShowActivatedNormal = 1;     // SW_SHOWNORMAL: restored to its normal place
inline constexpr int kShowActivatedMaximized = 3;  // SW_SHOWMAXIMIZED
inline constexpr int kShowActivatedAsIs = 5;       // SW_SHOW: at its current size and place

// What the standard output a program was given is: none, a file on disk, a
// pipe, a console, or another character device (NUL, a printer port).
enum class OutputKind { None, Disk, Pipe, Console, Device };

// What a start through the shell came to: started, refused by the user at the
// system's elevation prompt, or failed otherwise.
enum class ShellStart { Started, Refused, Failed };

// A running process and its program file (the full path of its image).
struct RunningProgram {
  std::uint32_t processId = 0;
  std::string path;
};

// Opaque handle of an open registry key; 0 is never a valid handle.
using RegHandle = std::uintptr_t;

// Calls the platform makes into the program (tray icon callback, timer ticks).
class PlatformEvents {
 public:
  virtual ~PlatformEvents() = default;
  virtual void OnTrayCallback(long mouseMessage) = 0;
  virtual void OnTimer() = 0;
  // The shortcut key registered under `id` was pressed.
  virtual void OnHotKey(int /*id*/) {}
};

class Platform {
 public:
  virtual ~Platform() = default;

  // --- Command line and output ------------------------------------------------
  // The command line the program was started with, its own name first, in UTF-8.
  virtual std::string CommandLineText() = 0;
  // What the standard output the program was given is.
  virtual OutputKind StandardOutput() = 0;
  // Attaches the console of the program that started this one and makes it
  // the standard output; false when there is none (started from a shortcut,
  // the Run key or the shell).
  virtual bool AttachParentConsole() = 0;
  // Writes text to the standard output: as characters to a console, as its
  // UTF-8 bytes to anything else; false when the write failed.
  virtual bool WriteOutput(const std::string& text) = 0;

  // --- Message boxes and the top-level error report -------------------------
  virtual BoxResult ShowMessage(BoxKind kind, const std::string& text, BoxButtons buttons) = 0;
  // A stop-icon box captioned "Vantrel" with the text exactly as given.
  virtual void ShowErrorBox(const std::string& text) = 0;

  // --- Folders and files ------------------------------------------------------
  // SHGetSpecialFolderPathA(CSIDL_APPDATA); empty when the system names none.
  virtual std::string AppDataFolder() = 0;
  virtual std::string WindowsDirectory() = 0;  // empty on failure
  virtual std::string SystemDirectory() = 0;   // empty on failure
  virtual std::string ProgramPath() = 0;
  virtual PathKind GetPathKind(const std::string& path) = 0;
  virtual bool CreateDirectory(const std::string& path) = 0;
  // Whole-file read, one attempt, and what the system answered (the caller
  // decides whether to wait). The buffer that `contents` already has is used
  // again; it holds the bytes only on Done.
  virtual FileAnswer ReadWholeFile(const std::string& path, std::string& contents) = 0;
  // How the file stands now: nothing when the system tells none (no file, a
  // folder, or no answer).
  virtual std::optional<FileStamp> GetFileStamp(const std::string& path) = 0;
  // The time now on the clock that file stamps are written by, in milliseconds.
  virtual std::uint64_t ClockMs() = 0;
  // The path of the file itself when `path` names it through a link, so that a
  // replace writes through the link; `path` otherwise.
  virtual std::string FinalPath(const std::string& path) = 0;
  // The primitive steps of a durable replace (see store/file_replace.h, which
  // decides their order). CreateNewFile makes a file that must not exist yet
  // (Exists when the name is taken), writes all of it and puts it on disk.
  virtual FileStep CreateNewFile(const std::string& path, const std::string& contents) = 0;
  // Carries `from`'s attributes and access rights over to `to`.
  virtual FileStep CopyFileIdentity(const std::string& from, const std::string& to) = 0;
  // One rename that takes `to`'s place in a single step, replacing a file there,
  // and reaches the disk before it returns. A read-only `to` is Failed.
  virtual FileStep RenameOver(const std::string& from, const std::string& to) = 0;
  virtual bool DeleteFile(const std::string& path) = 0;
  virtual std::uint32_t ProcessId() = 0;
  virtual bool ProcessRunning(std::uint32_t id) = 0;
  // Blocks the caller; only ever for a short wait on another program.
  virtual void Wait(int milliseconds) = 0;
  // A lock shared by every running copy of the program: 0 when another copy
  // still held it after the timeout. A lock whose holder died is taken over.
  virtual std::uintptr_t AcquireNamedLock(const std::string& name, int timeoutMs) = 0;
  virtual void ReleaseNamedLock(std::uintptr_t lock) = 0;
  // Text in the system's legacy ANSI code page (the one its programs had before
  // UTF-8) to UTF-8, and back; nothing when that code page cannot hold the text.
  virtual std::string LegacyToUtf8(std::string_view bytes) = 0;
  virtual std::optional<std::string> Utf8ToLegacy(std::string_view text) = 0;
  // Long names of every entry matching the pattern, of any attributes, in the
  // order the system returns them.
  virtual std::vector<std::string> FindFiles(const std::string& pattern) = 0;
  // Short (8.3) form of a path; empty when the system cannot give one.
  virtual std::string ShortPath(const std::string& path) = 0;

  // --- Shell -------------------------------------------------------------------
  // Opens a file, program or address through the shell (ShellExecuteEx) with
  // the main window as owner and no error boxes of the shell's own; with the
  // verb "runas" the system asks for elevation first.
  virtual ShellStart StartThroughShell(const std::string& verb, const std::string& file,
                                       const std::string& parameters, const std::string& directory,
                                       int showMode) = 0;
  // The running processes whose program file the system tells, this one's too.
  virtual std::vector<RunningProgram> RunningPrograms() = 0;
  // Restores the process's main window (its first visible top-level window that
  // no other window owns) and brings it to the foreground; false when it has none.
  virtual bool BringProcessToFront(std::uint32_t processId) = 0;

  // --- Main window, tray icon, menus, timer -------------------------------------
  virtual void CreateMainWindow(const std::string& className, const std::string& caption) = 0;
  virtual void SetEvents(PlatformEvents* events) = 0;
  // Adds the notification-area icon (the program's first icon) with the tip.
  virtual void AddTrayIcon(const std::string& tip) = 0;
  virtual void DeleteTrayIcon() = 0;
  // Closing the main window ends the message loop and the program.
  virtual void CloseMainWindow() = 0;
  // Where the user pointed: the cursor, or the icon itself when the keyboard
  // activated it.
  virtual Point CursorPos() = 0;
  virtual void SetForegroundMainWindow() = 0;
  // Pops up a menu of text items at a screen point and waits; returns the index
  // of the chosen item, or -1 when the menu was dismissed. Captions carry "&"
  // accelerator marks; an empty caption is an enabled, empty text item.
  virtual int PopupMenu(const std::vector<std::string>& captions, Point at) = 0;
  // Timer1: 500 ms; enabling a running timer does not restart its interval.
  virtual void EnableTimer(bool enabled) = 0;
  virtual bool TimerEnabled() = 0;
  // A system-wide key that calls OnHotKey(id) while the program runs; false
  // when it cannot be had (another program holds it) and for a combination
  // that is no shortcut key (IsShortcutKey). Freeing an id that holds no key
  // does nothing.
  virtual bool RegisterHotKey(int id, const KeyCombo& combo) = 0;
  virtual void UnregisterHotKey(int id) = 0;

  // --- Modal windows -----------------------------------------------------------
  // Shows the form modally with its own message loop; returns the form's modal
  // result when it closes. Throws VantrelError("Cannot make a visible window
  // modal") when the form is already showing. owner may be null (main window).
  virtual int ShowModal(Form& form, Form* owner) = 0;
  // GetOpenFileNameA with the main window as owner: the chosen full path, or
  // nothing when cancelled. initialName is offered as the starting file name.
  virtual std::optional<std::string> ChooseFile(const std::string& initialName) = 0;

  // --- System parameters -------------------------------------------------------
  // SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE); false when the call fails.
  virtual bool GetScreenSaveActive(bool& active) = 0;
  // SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, on, 0, SPIF_SENDWININICHANGE).
  virtual bool SetScreenSaveActive(bool on) = 0;
  // GetVersionExA's dwPlatformId; -1 when the call fails.
  virtual int PlatformId() = 0;

  // --- Registry of the current user (HKEY_CURRENT_USER) ------------------------
  // Opens an existing key with full access, never creating it; 0 on failure.
  virtual RegHandle RegOpenKey(const std::string& subKey) = 0;
  // The value's type and raw data; nothing when absent or unreadable.
  virtual std::optional<RegValue> RegQueryValue(RegHandle key, const std::string& name) = 0;
  virtual bool RegSetValue(RegHandle key, const std::string& name, const RegValue& value) = 0;
  virtual bool RegDeleteValue(RegHandle key, const std::string& name) = 0;
  virtual void RegCloseKey(RegHandle key) = 0;
};

}  // namespace vantrel
